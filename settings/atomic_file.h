#pragma once

#include <string>
#include <string_view>

namespace qm {

// Puts text in place of the file at path all or nothing: it goes to a new file in the same
// folder, which is written, checked and synced whole before it is renamed over the old one, and
// the folder is synced after. The old file's permissions carry over. Gives the empty text on
// success, else what failed; on failure the old file is exactly as it was.
std::string replace_file(const std::string& path, std::string_view text);

// What reading a whole file gave: its text, or the reason it could not be read. A file that is
// not there reads as empty with `missing` set.
struct FileText {
  std::string text;
  std::string error;
  bool missing = false;
};
FileText read_whole_file(const std::string& path);

// "what: the system's reason" for the errno of the failed call.
std::string failure(std::string_view what, int error_number);

}  // namespace qm
