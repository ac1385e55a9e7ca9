#include "skin/gfx_load_skin.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <system_error>

#include "skin/file_bytes.h"
#include "skin/ini_file.h"
#include "skin/picture_file.h"
#include "skin/picture_variants.h"

namespace qm {

namespace {

// The largest window side, offset or picture side there is; no screen comes near it.
constexpr int kLargestSide = 16384;

// A box's place plus the game offset. Both come from Config.ini and may be anything an int
// holds; a sum beyond that range stays at its end instead of wrapping round.
int offset_by(int position, int offset) {
  const std::int64_t sum = std::int64_t{position} + offset;
  return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// One layout run: the file, the window properties being built and the first failure.
class SkinLayout {
 public:
  SkinLayout(Scene& scene, IniFile ini, std::filesystem::path ini_path, bool fullscreen_mode,
             ScreenSize screen, PicturesAhead* ahead)
      : scene_(scene),
        ahead_(ahead),
        ini_(std::move(ini)),
        ini_path_(std::move(ini_path)),
        fullscreen_(fullscreen_mode),
        screen_(screen),
        props_(scene.window()) {
    for (BoxId id : Scene::stacking_order())
      if (const Picture& p = scene.box(id).picture; p && !p->source.empty())
        held_.emplace(p->source, p);
  }

  SkinLayoutResult run() {
    std::string skin_dir =
        with_trailing_backslash(ini_.read_string("Common", "SkinDir", "Graphics\\Skin\\"));
    result_.lcd = read_lcd_look([&](const std::string& key, int fallback) {
      return ini_.read_integer("LCD", key, fallback);
    });
    const auto height = read_bounded("Common", "GameHeight", 777, 0);
    if (!height) return result_;
    const auto width = read_bounded("Common", "GameWidth", 479, 0);
    if (!width) return result_;
    props_.client_height = *height;
    props_.client_width = *width;
    bool ok = fullscreen_ ? fullscreen_step() : windowed_step();
    commit_window();
    if (ok) ok = place_skin_boxes(skin_dir);
    if (ok) place_game_menu_boxes(scene_, fullscreen_);
    if (ok && found_ == 0) nothing_to_see(skin_dir);
    return result_;
  }

  // Runs the layout on a scene of its own, reading no picture: the files it would read.
  std::vector<std::filesystem::path> collect_files() {
    collect_only_ = true;
    run();
    return std::move(files_);
  }

  static void place_game_menu_boxes(Scene& scene, bool fullscreen) {
    scene.set_visible(box::btn_game_menu_top, fullscreen);
    scene.set_visible(box::btn_game_menu_background, fullscreen);
    Rect r = scene.box(box::btn_game_menu_background).rect;
    r.height = 32;
    r.width = 36;
    scene.set_rect(box::btn_game_menu_background, r);
  }

 private:
  bool stop(std::string message) {
    result_.status = SkinLayoutResult::Status::Stopped;
    result_.message = std::move(message);
    return false;
  }

  // A layout without a single picture of the handheld leaves an empty window, or a plain screen,
  // that nothing explains: the program ends with a message saying where it looked.
  void nothing_to_see(const std::string& skin_dir) {
    result_.status = SkinLayoutResult::Status::NothingToSee;
    if (missing_ == 0) {
      result_.message = naming_file(
          "Config.ini names no picture of the handheld, so there is nothing to show. Please "
          "reinstall the game.",
          ini_path_);
      return;
    }
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    result_.message = "None of the pictures that Config.ini names is in the skin folder " +
                      (here / native_path(skin_dir)).string() +
                      ". The folders in Config.ini are relative to the folder the game is started "
                      "from (" +
                      here.string() + "): please start the game from its own folder.";
  }

  // A window size or offset beyond what any screen shows would only take memory by the gigabyte
  // for the window's picture and shape: it ends the program with a message naming the key.
  std::optional<int> read_bounded(const char* section, const char* key, int default_value,
                                  int lowest) {
    const int value = ini_.read_integer(section, key, default_value);
    if (value >= lowest && value <= kLargestSide) return value;
    result_.status = SkinLayoutResult::Status::Unshowable;
    result_.message = "[" + std::string(section) + "] " + key + "=" + std::to_string(value) +
                      " in Config.ini is beyond what a screen can show (" + std::to_string(lowest) +
                      " to " + std::to_string(kLargestSide) + " pixels). Please correct the file.";
    return std::nullopt;
  }

  // A colour key has no fallback: text that is no number stops the layout.
  std::optional<std::uint32_t> read_colour(const char* section, const char* key,
                                           const char* default_text) {
    std::string text = ini_.read_string(section, key, default_text);
    std::optional<std::int32_t> value = str_to_int(text);
    if (!value) {
      stop("'" + text + "' is not a valid integer value");
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
  }

  // Loads a file into a box; false (with the decoder's message) when it cannot be decoded. A
  // picture already read from the same file, in this run or before it and unchanged since, is
  // taken as it is; one read ahead is taken from there.
  bool load_into(BoxId id, const std::filesystem::path& path) {
    if (collect_only_) {
      if (std::find(files_.begin(), files_.end(), path) == files_.end()) files_.push_back(path);
      return true;
    }
    if (const auto held = held_.find(path);
        held != held_.end() && read_from_unchanged(*held->second, path)) {
      scene_.set_picture(id, held->second);
      return true;
    }
    std::optional<PictureResult> ahead = ahead_ ? ahead_->take(path.native()) : std::nullopt;
    PictureResult loaded = ahead ? std::move(*ahead) : load_scalable_picture(path);
    if (!loaded.ok()) return stop(naming_file(loaded.error, path));
    // Boxes that name the same file share one picture.
    held_.insert_or_assign(path, loaded.picture);
    scene_.set_picture(id, loaded.picture);
    return true;
  }

  bool fullscreen_step() {
    std::string backdrop_dir = with_trailing_backslash(
        ini_.read_string("Fullscreen", "BackdropDir", "Graphics\\Backdrop\\"));
    std::string backdrop = ini_.read_string("Fullscreen", "BackdropFile", "nil");
    if (names_picture(backdrop)) {
      if (const auto path = named_file(backdrop_dir + backdrop)) {
        if (!load_into(box::im_backdrop, *path)) return false;
        bool stretch = (ini_.read_integer("Fullscreen", "BackdropStretch", 0) & 0xFF) != 0;
        scene_.set_fit(box::im_backdrop, stretch ? Fit::Stretch : Fit::Center);
        scene_.set_visible(box::im_backdrop, true);
      }
    }
    std::optional<std::uint32_t> colour = read_colour("Fullscreen", "BgColor", "$00000000");
    if (!colour) return false;
    props_.color = *colour;
    props_.color_key = false;

    auto offset = [&](const char* key, int screen_size, int client_size) -> std::optional<int> {
      std::optional<std::int32_t> value = str_to_int(ini_.read_string("Fullscreen", key, "Center"));
      if (value && *value != 0) return read_bounded("Fullscreen", key, 0, -kLargestSide);
      // Integer division truncates toward zero, as the centring asks.
      return static_cast<int>((static_cast<long long>(screen_size) - client_size) / 2);
    };
    const auto offset_x = offset("GameOffsetX", screen_.width, props_.client_width);
    const auto offset_y = offset("GameOffsetY", screen_.height, props_.client_height);
    if (!offset_x || !offset_y) return false;
    props_.offset_x = *offset_x;
    props_.offset_y = *offset_y;
    props_.client_width = screen_.width;
    props_.client_height = screen_.height;

    std::string logo = ini_.read_string("Fullscreen", "LogoFile", "nil");
    if (names_picture(logo)) {
      if (const auto path = named_file(backdrop_dir + logo)) {
        if (!load_into(box::im_backdrop_logo, *path)) return false;
        Rect r = scene_.box(box::im_backdrop_logo).rect;
        if (const Picture& picture = scene_.box(box::im_backdrop_logo).picture) {
          r.width = picture->width;
          r.height = picture->height;
        }
        const int W = props_.client_width, H = props_.client_height;
        switch (ini_.read_integer("Fullscreen", "LogoPosition", 1)) {
          case 0:
            r.left = 0, r.top = 0;
            break;
          case 1:
            r.left = W - r.width, r.top = 0;
            break;
          case 2:
            r.left = 0, r.top = H - r.height;
            break;
          case 3:
            r.left = W - r.width, r.top = H - r.height;
            break;
          default:
            break;  // stays where it was
        }
        scene_.set_rect(box::im_backdrop_logo, r);
        scene_.set_visible(box::im_backdrop_logo, true);
      }
    }
    return true;
  }

  bool windowed_step() {
    props_.offset_x = 0;
    props_.offset_y = 0;
    std::optional<std::uint32_t> key = read_colour("VideoMode", "TranspColor", "$00ff00ff");
    if (!key) return false;
    props_.color = *key;
    props_.key_color = *key;
    props_.color_key = true;
    scene_.set_visible(box::im_backdrop, false);
    scene_.set_visible(box::im_backdrop_logo, false);
    return true;
  }

  bool place_skin_boxes(const std::string& skin_dir) {
    for (BoxId n = 1; n <= box::kSkinCount; ++n) {
      const std::string section = "Image" + std::to_string(n);
      std::string file = ini_.read_string(section, "Filename", "");
      if (names_picture(file)) {
        if (const auto path = named_file(skin_dir + file)) {
          if (!load_into(n, *path)) return false;
          ++found_;
        } else {
          scene_.set_picture(n, missing_picture_marker());
          ++missing_;
        }
      } else if (scene_.box(n).picture) {
        ++found_;  // kept from the layout before
      }
      Rect r;
      r.height = ini_.read_integer(section, "Height", 0);
      r.left = offset_by(ini_.read_integer(section, "Left", 0), props_.offset_x);
      r.top = offset_by(ini_.read_integer(section, "Top", 0), props_.offset_y);
      r.width = ini_.read_integer(section, "Width", 0);
      scene_.set_rect(n, r);
    }
    return true;
  }

  // The backdrop box is fixed to the four edges of the client area, so it follows its size.
  void commit_window() {
    scene_.set_window(props_);
    scene_.set_rect(box::im_backdrop, Rect{0, 0, props_.client_width, props_.client_height});
  }

  Scene& scene_;
  PicturesAhead* ahead_;
  // The pictures the scene held before this run and those read in it, by their files.
  std::map<std::filesystem::path, Picture> held_;
  IniFile ini_;
  std::filesystem::path ini_path_;
  bool fullscreen_;
  ScreenSize screen_;
  WindowProps props_;
  SkinLayoutResult result_;
  int found_ = 0;    // skin pictures loaded or kept
  int missing_ = 0;  // skin pictures named but not there
  // A run that only collects the files it would read (see skin_files), each once, reads none.
  bool collect_only_ = false;
  std::vector<std::filesystem::path> files_;
};

}  // namespace

SkinLayoutResult Gfx_Load_Skin(Scene& scene, const std::filesystem::path& program_dir,
                               bool fullscreen_mode, ScreenSize screen, PicturesAhead* ahead) {
  ConfigIni config = load_config_ini(program_dir);
  if (!config.ini) {
    SkinLayout::place_game_menu_boxes(scene, fullscreen_mode);
    if (config.error == 0)
      return {SkinLayoutResult::Status::ConfigMissing, kConfigMissingMessage, {}};
    return {SkinLayoutResult::Status::ConfigUnreadable,
            naming_file("Configuration file (Config.ini) cannot be read: " +
                            std::generic_category().message(config.error) + ".",
                        config.path),
            {}};
  }
  return SkinLayout(scene, std::move(*config.ini), std::move(config.path), fullscreen_mode, screen,
                    ahead)
      .run();
}

std::vector<std::filesystem::path> skin_files(const std::filesystem::path& program_dir,
                                              bool fullscreen_mode) {
  ConfigIni config = load_config_ini(program_dir);
  if (!config.ini) return {};
  Scene scratch;
  SkinLayout layout(scratch, std::move(*config.ini), std::move(config.path), fullscreen_mode, {},
                    nullptr);
  return layout.collect_files();
}

std::unique_ptr<PicturesAhead> read_skin_ahead(const std::filesystem::path& program_dir,
                                               bool fullscreen_mode) {
  std::vector<std::pair<std::string, PicturesAhead::Job>> jobs;
  for (std::filesystem::path& file : skin_files(program_dir, fullscreen_mode)) {
    std::string key = file.native();
    jobs.emplace_back(std::move(key),
                      [file = std::move(file)] { return load_scalable_picture(file); });
  }
  return std::make_unique<PicturesAhead>(std::move(jobs), 2);
}

WindowPosition centre_on_screen(int window_width, int window_height, ScreenSize screen) {
  // The window's size comes from Config.ini and may be any int: the difference is taken in 64
  // bits, and its half always fits an int again.
  auto centre = [](int screen_size, int window_size) {
    return static_cast<int>(
        std::max<std::int64_t>(0, (std::int64_t{screen_size} - window_size) / 2));
  };
  return {centre(screen.width, window_width), centre(screen.height, window_height)};
}

}  // namespace qm
