// Writes the default skin, sounds, manual, documents and program pictures into the folder beside
// the program, preview pictures into a second folder and the desktop icons into a third.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <map>

#include "tools/skin/config_ini.h"
#include "tools/skin/documents.h"
#include "tools/skin/icon.h"
#include "tools/skin/manual.h"
#include "tools/skin/preview.h"
#include "tools/skin/program_pictures.h"
#include "tools/skin/quantise.h"
#include "tools/skin/skin_pictures.h"
#include "tools/skin/tones.h"

namespace {

bool failed = false;

void fail(const QString& what) {
  std::fprintf(stderr, "skin generator: cannot write %s\n", qPrintable(what));
  failed = true;
}

void save(const QImage& img, const QString& path, const char* format = nullptr, int quality = -1) {
  if (!QDir().mkpath(QFileInfo(path).path()) || !img.save(path, format, quality)) fail(path);
}

// Saves a picture drawn at `scale` pixels per logical pixel: at 1 under its own name, else beside
// it as name@2x or name@3x, a BMP's finer versions as PNG, which the program reads as well and
// which keeps them small.
void save_at(int scale, const QImage& img, const QString& path, const char* format = nullptr,
             int quality = -1) {
  if (scale == 1) return save(img, path, format, quality);
  const QFileInfo info(path);
  const bool bmp = info.suffix().compare("bmp", Qt::CaseInsensitive) == 0;
  save(img,
       QString("%1/%2@%3x.%4")
           .arg(info.path(), info.completeBaseName())
           .arg(scale)
           .arg(bmp ? QString("png") : info.suffix()),
       bmp ? "PNG" : format, quality);
}

// Every picture of the default skin and the program's own at one scale; the finer skin pictures
// keep the outline of the plain ones.
void draw_pictures(const QString& dist, int scale, const std::map<QString, QImage>& plain_skin) {
  using namespace qm::skin;
  const auto pictures = scale == 1 ? plain_skin : draw_skin_pictures(scale);
  for (const auto& [file, img] : pictures)
    save_at(scale, scale == 1 ? img : with_outline_of(img, plain_skin.at(file)),
            dist + "/Graphics/Skin/" + file);
  // The handheld as it looks in play, for the pictures that show it.
  const QImage body = compose(pictures, a_moment_of_play(), Qt::transparent, scale);
  // A backdrop of three times a full HD screen would outgrow any screen it could be shown on.
  if (scale <= 2)
    save_at(scale, draw_backdrop(scale), dist + "/Graphics/Backdrop/backdrop.jpg", "JPG", 92);
  save_at(scale, draw_logo(scale), dist + "/Graphics/Backdrop/logo.png");
  const auto pages = draw_manual_pages(body);
  // The plain pages are read at every start, so they go as 8-bit palette bitmaps: a third of
  // the bytes of true colour.
  for (size_t i = 0; i < pages.size(); ++i)
    save_at(scale, scale == 1 ? with_palette(pages[i]) : pages[i],
            QString("%1/Graphics/Manual/%2.bmp").arg(dist).arg(i + 1), "BMP");
  save_at(scale, draw_splash_background(scale), dist + "/Graphics/Splash/background.png");
  save_at(scale, draw_box_picture(body), dist + "/Graphics/Splash/box.jpg", "JPG", 92);
  save_at(scale, draw_play_button(true, scale), dist + "/Graphics/Splash/play.png");
  save_at(scale, draw_play_button(false, scale), dist + "/Graphics/Splash/play_disabled.png");
  save_at(scale, draw_about_picture(body), dist + "/Graphics/About/picture.png");
}

void write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
      file.write(bytes) != bytes.size())
    fail(path);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DIST_DIR PREVIEW_DIR ICON_DIR\n", argv[0]);
    return 2;
  }
  using namespace qm::skin;
  const QString dist = QString::fromLocal8Bit(argv[1]);
  const QString previews = QString::fromLocal8Bit(argv[2]);
  const QString icons = QString::fromLocal8Bit(argv[3]);

  const auto pictures = draw_skin_pictures();
  for (int scale : {1, 2, 3}) draw_pictures(dist, scale, pictures);
  write(dist + "/Config.ini", config_ini_text().toUtf8());
  const QImage body = compose(pictures, a_moment_of_play(), Qt::transparent);

  for (const Sound& sound : handheld_sounds()) {
    const auto bytes = wav_file(render_tune(sound.tune));
    write(dist + "/Sound/" + QString::fromStdString(sound.file),
          QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  write(dist + "/Readme.txt", readme_text().toUtf8());
  write(dist + "/Whatsnew.txt", whatsnew_text().toUtf8());

  for (const int size : kIconSizes)
    save(draw_icon(size), QString("%1/hicolor/%2x%2/apps/quibman.png").arg(icons).arg(size));
  write(icons + "/hicolor/scalable/apps/quibman.svg", icon_svg());

  const QColor key(255, 0, 255);
  save(compose(pictures, everything_lit(), key), previews + "/preview_all_lit.png");
  const QImage play = compose(pictures, a_moment_of_play(), key);
  save(play, previews + "/preview_play.png");
  save(cut_out(play, key, QColor(24, 26, 30)), previews + "/preview_window_dark.png");
  save(cut_out(play, key, QColor(236, 238, 242)), previews + "/preview_window_light.png");
  QImage fullscreen = draw_backdrop();
  {
    QPainter p(&fullscreen);
    p.drawImage((fullscreen.width() - body.width()) / 2, (fullscreen.height() - body.height()) / 2,
                body);
    const QImage logo = draw_logo();
    p.drawImage(fullscreen.width() - logo.width(), 0, logo);
  }
  save(fullscreen, previews + "/preview_fullscreen.png");
  return failed ? 1 : 0;
}
