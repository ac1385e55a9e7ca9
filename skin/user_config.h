#pragma once

#include <filesystem>
#include <optional>

namespace qm {

// An installed program's Config.ini belongs to root. A user who wants another skin, or other
// places, gets a copy of their own in the per-user data folder, which the program then reads
// instead, as long as the Config.ini beside the program cannot be written. A Config.ini the user
// may write (the portable folder, an unpacked package) is used and edited in place, as ever.

// $XDG_DATA_HOME/quibman, or ~/.local/share/quibman; empty when neither variable is set.
std::filesystem::path user_data_folder();

// Where a user's own skins go: the Skins folder in the per-user data folder.
std::filesystem::path user_skins_folder();

// The Config.ini the program reads: the user's copy when the one beside the program cannot be
// written and the copy is a regular file; else the one beside the program (found without regard
// to letter case).
std::filesystem::path config_ini_in_use(const std::filesystem::path& program_dir);

// The Config.ini that "Edit configuration file" opens. When the one beside the program may be
// written, or is missing: nullopt, the file in the current directory is opened as ever. Else the
// user's copy, made first when there is none: the installed text with its folder keys made
// absolute against `data_dir` (the folder they were relative to), and the skins folder made
// beside it. nullopt as well when the copy cannot be made (the installed file then opens).
std::optional<std::filesystem::path> config_ini_to_edit(const std::filesystem::path& program_dir,
                                                        const std::filesystem::path& data_dir);

}  // namespace qm
