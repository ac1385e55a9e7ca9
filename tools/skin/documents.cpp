#include "tools/skin/documents.h"

namespace qm::skin {

QString readme_text() {
  return R"(Quib Man (unknown mfg, Hand & Play) Simulator
Version 5.00 * Final *
=============================================

WHAT IT IS

A simulator of Quib Man, a pocket LCD maze game of around 1980. The program
shows a picture of the handheld and switches the printed segments of its
liquid-crystal screen on and off as the device did: Quibman walks a maze of
5 rows by 8 columns, up to three ghosts leave the pit in the middle and roam
it, single, double and power pills lie in fixed cells, a cherry turns up now
and then, and an eight-digit panel shows the score, the stage, the lives and
the time of day.

Every picture and sound of the default skin was drawn or synthesized by the
program's own generator; none is taken from a real device.


STARTING IT

From the source folder:

    ./run.sh

installs what is missing (Debian 12), builds the program and starts it from
the folder build/dist/, where all its files lie. To start a build by hand, go
into that folder first and start the program there: the folders named in
Config.ini are relative to the folder the program is started from.

Installed from the Debian package, the game is "Quib Man" in the desktop's
game menu, and the command quibman starts it from the right folder.

At the first start a splash screen asks for the sound output. Pick one and
press Play (or Enter). Untick "Display this splash screen at startup" to go
straight to the game next time.


THE HANDHELD

  MODE        switches between the clock (TIME) and the game (GAME)
  AMA         in game mode: hold to see the Amateur high score, release to
              start an Amateur game (two ghosts)
  PRO         the same for a Professional game (three ghosts)
  TIME        in game mode: shows the clock
  arrow pad   steers Quibman
  SET, HALT   not used; the clock always keeps the computer's time

The leaflet of the handheld (F4) explains the game in full.


KEYS

  1           AMA
  2           PRO
  3           TIME
  5           MODE
  arrow keys  the four directions
  F1          about the program
  F2          this file
  F3          the release history (Whatsnew.txt)
  F4          the manual
  F12         fullscreen on or off
  Esc         exit

The eight handheld keys can be changed under "Key settings" in the menu.
Resting the mouse on a button of the picture tells which key works it.


GAME CONTROLLER

A game controller works the handheld too, plugged in before the start or
while the program runs; with several, any of them works it. The buttons
are fixed:

  D-pad, left stick  the four directions
  A                  AMA
  B                  PRO
  Y                  TIME
  Back (Select)      MODE

The other buttons do nothing. The stick presses a direction once pushed
past half way and lets it go back near the middle. The controller works
only while the handheld's window has the keyboard, and what it holds is let
go when it is unplugged or the window loses the keyboard. QM_NO_GAMEPAD=1 in
the environment leaves controllers out.


THE MENU

A right click anywhere on the handheld opens the menu: About, the two text
files, the manual, "Edit configuration file" (opens Config.ini), "Key
settings", "Reset Hiscores", "Display in fullscreen mode", "Display splash
screen at startup" and "Exit". In fullscreen the same commands are behind the
three-bar button in the top-left corner.

In the windowed layout the handheld can be dragged with the left mouse button
by its body or its screen.


THE FILES BESIDE THE PROGRAM

  Config.ini          the skin: pictures, their places, window and colours
  Graphics/Skin/      the pictures of the handheld and its LCD segments
  Graphics/Backdrop/  the fullscreen backdrop and logo
  Graphics/Manual/    the manual pages 1.bmp to 14.bmp
  Graphics/Splash/    the splash screen's pictures
  Graphics/About/     the about box's picture
  Sound/              Beep.wav, Bonus.wav, Miss.wav, Point.wav, Start.wav
  Readme.txt          this file
  Whatsnew.txt        the release history

Settings (display mode, sound choice, keys, high scores) are kept per user in
~/.config/Tarvelle/QuibMan50.conf.


MAKING A SKIN

Config.ini is a plain INI file: [Section] lines followed by key=value lines;
section and key names may be written in any case, lines starting with ";" are
comments. Numbers may be decimal or hexadecimal ($1F, 0x1F). Colours are
written $00BBGGRR (blue, green, red). Backslashes separate folders.

  [Common]      SkinDir (the picture folder), GameWidth, GameHeight (the size
                of the handheld picture)
  [Fullscreen]  BackdropDir, BackdropFile, BackdropStretch (1 stretches the
                backdrop to the screen), BgColor, GameOffsetX, GameOffsetY
                (a number, or Center), LogoFile, LogoPosition (0 top left,
                1 top right, 2 bottom left, 3 bottom right)
  [VideoMode]   TranspColor: in the windowed layout every pixel of this colour
                is cut out of the window (magenta, $00ff00ff, by default)
  [Manual]      ManualDir, ManualWidth, ManualHeight
  [Image1] .. [Image135]
                one picture each: Filename (in SkinDir; nil for none), Left,
                Top, Width, Height. The comment above each section in the
                shipped Config.ini says which picture it is.

Pictures may be PNG (with transparency), JPEG or BMP (24-bit, or 8-bit with a
palette like the manual pages). Image1 is the body: where it is transparent
(or, for a BMP, where it has the colour of its bottom-left pixel) the window
is cut out. Keep the body's outline hard: a pixel that blends into the key
colour shows as a coloured fringe on the desktop. The LCD segments are
transparent PNGs drawn over the body; the glyphs (Image29 to Image45) lend
their pictures to the eight digit places (Image21 to Image28), which name no
picture of their own. A pressed button picture lies exactly over the place of
its click area. A file that is named but missing shows as a small red square.
)";
}

QString whatsnew_text() {
  return R"(Quib Man Simulator: what's new
==============================

5.00 * Final *
  - The simulator for Linux: a shaped window on the desktop, or fullscreen
    on a backdrop (F12).
  - A new default skin, drawn entirely by the program's own generator: the
    handheld's body, the LCD segments with the maze walls printed on the
    screen, the backdrop, the manual pages and the splash pictures.
  - New sounds, synthesized as a piezo buzzer plays them.
  - Key bindings can be changed in the key settings dialog; button hints
    name the keys.
  - A game controller works the handheld too: D-pad or left stick, A, B, Y
    and Back (see Readme.txt).
  - The manual viewer shows the handheld's 14-page leaflet (F4).
  - The About box shows facts about the project; its link opens this
    program's Readme.txt.
)";
}

}  // namespace qm::skin
