#include "tools/skin/manual.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "engine/maze.h"
#include "tools/skin/ink.h"
#include "tools/skin/layout.h"

namespace qm::skin {

namespace {

const QColor kPaper(250, 246, 236);
const QColor kNavy(30, 40, 66);
const QColor kText(40, 38, 34);
const QColor kRed(200, 60, 42);
constexpr int kMargin = 20;
constexpr int kTextWidth = kPageWidth - 2 * kMargin;

QFont font(int px, bool bold = false, bool italic = false) {
  QFont f("Liberation Sans");
  f.setPixelSize(px);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

// Lays a page out from the top down: a title, then paragraphs, tables and drawings.
class Page {
 public:
  Page(QImage& img, int number, const QString& title) : p_(&img) {
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setRenderHint(QPainter::TextAntialiasing);
    img.fill(kPaper);
    // The viewer's close button sits in the top right corner, so the title keeps clear of it.
    p_.setFont(font(19, true));
    p_.setPen(kNavy);
    p_.drawText(QRect(kMargin, 12, kTextWidth - 24, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
    p_.fillRect(QRect(kMargin, 42, kTextWidth, 2), kRed);
    p_.setFont(font(11));
    p_.setPen(QColor(120, 112, 96));
    p_.drawText(QRect(40, kPageHeight - 22, kPageWidth - 80, 14), Qt::AlignCenter,
                QString("Quib Man  \u2014  %1").arg(number));
    y_ = 54;
  }

  void para(const QString& text, int px = 12, bool bold = false) {
    p_.setFont(font(px, bold));
    p_.setPen(kText);
    const QRect box(kMargin, y_, kTextWidth, 1000);
    const QRect used = p_.boundingRect(box, Qt::TextWordWrap, text);
    p_.drawText(box, Qt::TextWordWrap, text);
    y_ += used.height() + 8;
  }

  void heading(const QString& text) {
    y_ += 2;
    p_.setFont(font(13, true));
    p_.setPen(kNavy);
    p_.drawText(QRect(kMargin, y_, kTextWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, text);
    y_ += 20;
  }

  // Two columns, the left one bold.
  void row(const QString& left, const QString& right, int left_width = 96) {
    p_.setFont(font(12));
    const QRect box(kMargin + left_width, y_, kTextWidth - left_width, 1000);
    const int h = p_.boundingRect(box, Qt::TextWordWrap, right).height();
    p_.setPen(kText);
    p_.drawText(box, Qt::TextWordWrap, right);
    p_.setFont(font(12, true));
    p_.setPen(kNavy);
    p_.drawText(QRect(kMargin, y_, left_width - 6, h), Qt::AlignLeft | Qt::AlignTop, left);
    y_ += h + 4;
  }

  // A drawing of the given height across the text column.
  void picture(int height, const std::function<void(QPainter&, const QRectF&)>& draw) {
    p_.save();
    draw(p_, QRectF(kMargin, y_, kTextWidth, height));
    p_.restore();
    y_ += height + 8;
  }

  void gap(int px) { y_ += px; }

  // A little chase along the foot of the page, where the text leaves room for it.
  void ornament() {
    if (y_ > kPageHeight - 80) return;
    const QColor ink(150, 140, 118);
    const double y = kPageHeight - 56;
    const double left = kPageWidth / 2.0 - 70;
    draw_quibman(p_, QRectF(left, y, 22, 22), ink);
    for (int i = 0; i < 4; ++i)
      draw_pill(p_, QRectF(left + 30 + i * 18, y + 6, 10, 10), PillSize::Single, ink);
    draw_ghost(p_, QRectF(left + 110, y, 22, 22), ink);
  }
  QPainter& painter() { return p_; }

 private:
  QPainter p_;
  int y_ = 0;
};

// A row of figures, each labelled underneath.
void figures(QPainter& p, const QRectF& r,
             const std::vector<std::pair<QString, std::function<void(QPainter&, QRectF)>>>& items) {
  const double step = r.width() / items.size();
  for (size_t i = 0; i < items.size(); ++i) {
    const QRectF cell(r.left() + i * step, r.top(), step, r.height());
    const QRectF shape(cell.center().x() - 18, cell.top() + 4, 36, 36);
    items[i].second(p, shape);
    p.setFont(font(11, true));
    p.setPen(kNavy);
    p.drawText(QRectF(cell.left(), shape.bottom() + 4, cell.width(), 16), Qt::AlignCenter,
               items[i].first);
  }
}

// The LCD panel's background with its maze walls, scaled into a rectangle.
void small_maze(QPainter& p, const QRectF& r, bool with_pills) {
  const double scale = std::min(r.width() / (kPitchX * 8 + 16), r.height() / (kPitchY * 5 + 16));
  const double w = (kPitchX * 8 + 16) * scale;
  p.save();
  p.translate(r.center().x() - w / 2, r.top());
  p.scale(scale, scale);
  p.fillRect(QRectF(0, 0, kPitchX * 8 + 16, kPitchY * 5 + 16), QColor(190, 199, 172));
  p.translate(8 - kMazeLeft, 8 - kMazeTop);
  PassageTable maze{};
  fill_maze(maze);
  p.setPen(QPen(QColor(40, 50, 40), 3, Qt::SolidLine, Qt::RoundCap));
  for (int row = 1; row <= 5; ++row)
    for (int col = 1; col <= 8; ++col) {
      if (!cell_exists(row, col)) continue;
      const auto& open = maze[cell_index(row, col)];
      const QRectF c = cell_rect(row, col);
      if (!open[maze_up]) p.drawLine(c.topLeft(), c.topRight());
      if (!open[maze_down]) p.drawLine(c.bottomLeft(), c.bottomRight());
      if (!open[maze_left] && !(row == 3 && col == 6)) p.drawLine(c.topLeft(), c.bottomLeft());
      if (!open[maze_right] && !(row == 3 && col == 3)) p.drawLine(c.topRight(), c.bottomRight());
    }
  const QColor ink = lcd_ink();
  if (with_pills)
    for (BoxId id = box::im_pill_01_01_double; id <= box::im_pill_05_07_double; ++id)
      if (id != box::im_cherry) draw_pill(p, pill_rect(id), pill_kind(id), ink);
  for (int slot = 1; slot <= 3; ++slot) draw_ghost(p, pit_rect(slot), ink);
  draw_quibman(p, figure_rect(5, 8), ink);
  p.restore();
}

// The LCD panel as a drawing: eight places given as characters (digits, the letters a d o p,
// one or two small Quibmen as q and Q, a blank as a space), and the PM and OVER marks.
void panel(QPainter& p, const QRectF& r, const char (&places)[9], bool pm, bool over) {
  const QColor ink = lcd_ink();
  const QRectF glass(r.left() + 14, r.top(), r.width() - 28, 46);
  p.fillRect(glass, QColor(190, 199, 172));
  for (int i = 0; i < 8; ++i) {
    const QRectF place(glass.left() + 8 + i * 26, glass.top() + 5, 21, 36);
    const char c = places[i];
    if (c >= '0' && c <= '9') draw_segments(p, place, digit_segments(c - '0'), ink);
    if (c == 'a' || c == 'd' || c == 'o' || c == 'p')
      draw_segments(p, place, letter_segments(c), ink);
    if (c == 'q') draw_lives(p, place, 1, ink);
    if (c == 'Q') draw_lives(p, place, 2, ink);
  }
  const double marks = glass.left() + 8 + 8 * 26 + 4;
  if (pm) draw_mark(p, QRectF(marks, glass.top() + 6, 30, 13), "PM", ink);
  if (over) draw_mark(p, QRectF(marks, glass.top() + 24, 44, 13), "OVER", ink);
}

void draw_body_scaled(QPainter& p, const QImage& body, const QRectF& r) {
  const QSizeF whole = logical_size(body);
  const double scale = std::min(r.width() / whole.width(), r.height() / whole.height());
  const QSizeF size = whole * scale;
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(QPointF(r.center().x() - size.width() / 2, r.top()), size), body);
}

using PageFn = std::function<void(Page&)>;

std::vector<std::pair<QString, PageFn>> pages(const QImage& body) {
  const QColor ink = lcd_ink();
  auto quibman = [ink](QPainter& p, QRectF r) { draw_quibman(p, r, ink); };
  auto ghost = [ink](QPainter& p, QRectF r) { draw_ghost(p, r, ink); };
  return {
      {"Quib Man",
       [&body](Page& pg) {
         pg.para("Pocket electronic LCD maze game by Hand & Play. Instructions.", 13, true);
         pg.picture(360, [&body](QPainter& p, const QRectF& r) { draw_body_scaled(p, body, r); });
         pg.para(
             "Thank you for choosing Quib Man. Please read this leaflet before you play, "
             "and keep it for later.");
       }},
      {"The controls",
       [&body](Page& pg) {
         pg.picture(150, [&body](QPainter& p, const QRectF& r) {
           draw_body_scaled(p, crop(body, QRect(0, 470, kWidth, 300)), r);
         });
         pg.row("MODE",
                "Slide to TIME for the clock, to GAME for the game. Sliding it during a "
                "game ends the game at once.");
         pg.row("AMA", "Hold to see the Amateur high score, release to start an Amateur game.");
         pg.row("PRO",
                "Hold to see the Professional high score, release to start a "
                "Professional game.");
         pg.row("TIME", "In game mode, shows the clock.");
         pg.row("Arrow pad", "Steers Quibman up, down, left and right.");
         pg.row("SET, HALT", "Not used on this model: the clock always keeps the right time.");
       }},
      {"Time mode and the clock",
       [](Page& pg) {
         pg.para(
             "With MODE at TIME, Quib Man is a clock. The panel shows hours, minutes and "
             "seconds with a little Quibman between hours and minutes:");
         pg.picture(46, [](QPainter& p, const QRectF& r) {
           panel(p, r, {'1', '0', 'q', '4', '5', ' ', '3', '0', 0}, true, false);
         });
         pg.para(
             "The clock runs in twelve-hour time; PM lights in the afternoon. The time is "
             "that of your computer, so it never needs setting.");
         pg.para(
             "In game mode, press TIME to look at the clock without sliding the switch. "
             "The clock then stays until you press AMA, PRO or slide MODE.");
       }},
      {"Game mode",
       [](Page& pg) {
         pg.para("Slide MODE to GAME. The panel shows a single 0: the game is ready.");
         pg.para(
             "Hold AMA or PRO: the panel shows the level letter (A or P) and that level's "
             "high score, and the maze fills with pills, the ghosts waiting in their pen. "
             "Release the button and the game begins with the start tune.");
         pg.para(
             "Before each stage the panel shows the stage number between little "
             "Quibmen:");
         pg.picture(46, [](QPainter& p, const QRectF& r) {
           panel(p, r, {'q', 'q', ' ', '0', '7', ' ', 'q', 'q', 0}, false, false);
         });
         pg.para("Then the level letter, the spare lives and the score:");
         pg.picture(46, [](QPainter& p, const QRectF& r) {
           panel(p, r, {'a', 'Q', '0', '0', '1', '2', '3', '5', 0}, false, false);
         });
         pg.para(
             "Guide Quibman with the arrow pad. Hold a direction and he walks one cell at a "
             "time for as long as the way is open.");
       }},
      {"Amateur and Professional",
       [ghost](Page& pg) {
         pg.heading("AMA: Amateur");
         pg.para("Two ghosts chase Quibman. A good level to learn the maze.");
         pg.picture(44, [ghost](QPainter& p, const QRectF& r) {
           figures(p, r, {{"", ghost}, {"", ghost}});
         });
         pg.heading("PRO: Professional");
         pg.para(
             "Three ghosts chase Quibman. Everything else is the same: the speeds, the "
             "points and the bonuses.");
         pg.picture(44, [ghost](QPainter& p, const QRectF& r) {
           figures(p, r, {{"", ghost}, {"", ghost}, {"", ghost}});
         });
         pg.para("Each level keeps its own high score.");
       }},
      {"The maze",
       [](Page& pg) {
         pg.para(
             "The maze has 5 rows of 8 cells. The walls printed on the screen show where "
             "Quibman and the ghosts can go.");
         pg.picture(178, [](QPainter& p, const QRectF& r) { small_maze(p, r, true); });
         pg.para(
             "Rows 2 and 4 have tunnels: walk out at one side and come back in at the "
             "other. In the middle of row 3 is the ghosts' pen; its door opens to the left. "
             "Quibman starts each stage in the bottom right corner.");
       }},
      {"Quibman and the ghosts",
       [quibman, ghost](Page& pg) {
         pg.picture(64, [quibman, ghost](QPainter& p, const QRectF& r) {
           figures(p, r, {{"Quibman", quibman}, {"Ghost", ghost}});
         });
         pg.para("Quibman is always hungry. Eat every pill in the maze to clear the stage.");
         pg.para(
             "The ghosts leave their pen one after another. A ghost that sees Quibman in "
             "its row comes after him; otherwise it wanders the maze. If a ghost catches "
             "Quibman, he loses a life and the ghosts go back to their pen. The pills he has "
             "eaten stay eaten.");
         pg.para("Listen: the ghosts' steps beep as they move.");
       }},
      {"The pills and the power pill",
       [ink](Page& pg) {
         pg.picture(64, [ink](QPainter& p, const QRectF& r) {
           figures(p, r,
                   {{"Single  5",
                     [ink](QPainter& q, QRectF s) {
                       draw_pill(q, s.adjusted(12, 12, -12, -12), PillSize::Single, ink);
                     }},
                    {"Double  10",
                     [ink](QPainter& q, QRectF s) {
                       draw_pill(q, s.adjusted(4, 11, -4, -11), PillSize::Double, ink);
                     }},
                    {"Power  100", [ink](QPainter& q, QRectF s) {
                       draw_pill(q, s.adjusted(6, 6, -6, -6), PillSize::Power, ink);
                     }}});
         });
         pg.para(
             "Sixteen pills lie in the maze: ten single pills, four double pills and two "
             "power pills in the left and right corners.");
         pg.para(
             "Eat a power pill and the ghosts take fright for a few seconds: they turn "
             "away from Quibman, and a siren sounds. Now Quibman can eat them! The first "
             "ghost is worth 200 points, the next 400, then 800 and 1600. An eaten ghost "
             "goes back to the pen.");
       }},
      {"The cherry",
       [ink](Page& pg) {
         pg.picture(48, [ink](QPainter& p, const QRectF& r) {
           draw_cherry(p, QRectF(r.center().x() - 18, r.top(), 36, 40), ink);
         });
         pg.para(
             "Twice in every stage, after Quibman has eaten a good part of the pills, a "
             "cherry appears beside the ghosts' pen. Step into the cell right of it and "
             "push left to eat it before it goes away.");
         pg.heading("Cherry points by stage");
         pg.row("Stages 1, 2", "200");
         pg.row("Stages 3, 4", "400");
         pg.row("Stages 5, 6", "600");
         pg.row("Stages 7, 8", "800");
         pg.row("Stage 9", "1000");
         pg.row("Stage 10 on", "2000");
       }},
      {"Scores",
       [](Page& pg) {
         pg.row("Single pill", "5", 150);
         pg.row("Double pill", "10", 150);
         pg.row("Power pill", "100", 150);
         pg.row("1st ghost", "200", 150);
         pg.row("2nd ghost", "400", 150);
         pg.row("3rd ghost", "800", 150);
         pg.row("4th ghost", "1600", 150);
         pg.row("Cherry", "200 to 2000, by stage", 150);
         pg.row("Intermission", "1000", 150);
         pg.gap(6);
         pg.para(
             "A full maze of pills is worth 290 points. The panel shows six digits; the "
             "game ends if the score passes 999,999.");
         pg.para(
             "After eating a ghost or the cherry, the panel shows the points won for a "
             "moment while everything stands still.");
       }},
      {"Bonus lives and stages",
       [quibman](Page& pg) {
         pg.heading("Bonus lives");
         pg.para(
             "Quibman starts with 3 lives. He wins a life at 5,000 points and then at every "
             "20,000 more (25,000, 45,000 ...), but never holds more than 3.");
         pg.heading("Stages");
         pg.para(
             "Clearing the maze raises the stage; a new maze of pills is laid and the "
             "cherry grows in value. After stage 99 comes stage 1 again.");
         pg.heading("Intermissions");
         pg.para(
             "After every fifth stage the panel spells GOOD and counts up 200, 400, 600, "
             "800 and 1000: the 1000 points are yours.");
         pg.picture(46, [](QPainter& p, const QRectF& r) {
           panel(p, r, {' ', ' ', '9', 'o', 'o', 'd', ' ', ' ', 0}, false, false);
         });
       }},
      {"Game over and high scores",
       [](Page& pg) {
         pg.para(
             "When the last life is lost the game is over: the panel shows the final "
             "score and OVER lights up. The maze stays as it was.");
         pg.picture(46, [](QPainter& p, const QRectF& r) {
           panel(p, r, {'p', ' ', '0', '2', '6', '8', '1', '5', 0}, false, true);
         });
         pg.para(
             "A score above the level's high score becomes the new high score. Hold AMA "
             "or PRO to see it; release to play again.");
         pg.para(
             "The high scores are kept when the simulator is closed. \"Reset Hiscores\" in "
             "the menu sets both to 0.");
       }},
      {"The simulator's keys",
       [](Page& pg) {
         pg.row("1", "AMA", 90);
         pg.row("2", "PRO", 90);
         pg.row("3", "TIME", 90);
         pg.row("5", "MODE", 90);
         pg.row("Arrows", "up, down, left, right", 90);
         pg.gap(4);
         pg.row("F1", "about the simulator", 90);
         pg.row("F2", "Readme.txt", 90);
         pg.row("F3", "Whatsnew.txt", 90);
         pg.row("F4", "this manual", 90);
         pg.row("F12", "fullscreen on or off", 90);
         pg.row("Esc", "exit", 90);
         pg.row("Right click", "the menu, with key settings and more", 90);
         pg.gap(4);
         pg.para(
             "The handheld's keys can be changed under \"Key settings\". In the manual, "
             "the left and right arrow keys turn the pages and Esc closes it.");
       }},
      {"The skin file",
       [](Page& pg) {
         pg.para(
             "Every picture of the handheld is named in Config.ini beside the simulator, "
             "with its place. Change the pictures to make your own skin.");
         pg.row("[Common]", "SkinDir, GameWidth, GameHeight", 100);
         pg.row("[Fullscreen]", "backdrop, logo, colour and offset", 100);
         pg.row("[VideoMode]", "TranspColor: cut out of the window", 100);
         pg.row("[Manual]", "these pages and their size", 100);
         pg.row("[Image1..135]", "Filename, Left, Top, Width, Height", 100);
         pg.para(
             "Image1 is the body. The LCD segments are transparent PNGs. A comment above "
             "every section says what it holds. A missing file shows as a red square. "
             "Readme.txt tells more.",
             12);
       }},
  };
}

}  // namespace

std::vector<QImage> draw_manual_pages(const QImage& body) {
  std::vector<QImage> out;
  int number = 1;
  for (const auto& [title, fill] : pages(body)) {
    QImage img = canvas(QSize(kPageWidth, kPageHeight), qRound(body.devicePixelRatio()),
                        QImage::Format_RGB32);
    {
      Page page(img, number, title);
      fill(page);
      page.ornament();
    }
    out.push_back(img.convertToFormat(QImage::Format_RGB888));
    ++number;
  }
  return out;
}

}  // namespace qm::skin
