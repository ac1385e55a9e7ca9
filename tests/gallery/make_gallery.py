#!/usr/bin/env python3
"""Writes the gallery of broken inputs: one folder per case, under a folder per loading path.

    make_gallery.py OUT

OUT/<path>/<case>/ holds the files of the case and `expect`, one line per promise the program
must keep, a word naming the promise and then its values:

  layout   (Config.ini and skin pictures, laid out on a 1024 x 768 screen)
    mode windowed|fullscreen     the layout to run
    status done|stopped|config_missing|config_unreadable|unshowable|nothing_to_see
    message TEXT                 the message the run ends with (JPEG numbers as {JERR_NAME}, the
                                 case's folder as {FOLDER}, a line break as \\n)
    client W H / offset X Y / color N / colour_key 0|1
    rect ID LEFT TOP WIDTH HEIGHT
    picture ID none|marker|WxH
    fit ID topleft|center|stretch
    centre LEFT TOP              where the window is centred for its client size
  manual   (the manual pages)
    size W H / error TEXT (as message) / no_error / page N none|marker|WxH
  sound    (the five samples, started through the splash screen's play action)
    start ok|fails / message TEXT / silent SAMPLE / plays SAMPLE
  settings (QuibMan50.conf)
    value NAME N DEFAULT         what the store reads for NAME with the program's default
    write NAME N                 a write the program then makes
    kept NAME TEXT               what the file on disk holds for NAME after that write, as
                                 this program and QSettings (the earlier program) read it
    damaged_copy yes|no          the case's file kept whole beside it as QuibMan50.conf.damaged
    refused NAME N HOLDS         a write that fails: the folder in the file's place stays, and
                                 NAME still reads HOLDS

Every case runs in the current directory of its folder, so relative folders in Config.ini resolve
there. The same cases come out on every run: random bytes come from fixed seeds.
"""

import os
import random
import shutil
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# Picture and sound files, written by hand so that each part can be broken on purpose.


def png_chunk(kind, data, crc=None):
    if crc is None:
        crc = zlib.crc32(kind + data)
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc & 0xFFFFFFFF)


def png_rows(width, height):
    """The filtered rows of an 8-bit RGB picture of one grey."""
    return (b"\x00" + b"\x80" * (3 * width)) * height


def png(width, height, ihdr_crc=None, idat=None):
    """An 8-bit RGB picture of one grey; when the size is absurd its image data is empty."""
    ihdr = png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0), ihdr_crc)
    if idat is None:
        idat = zlib.compress(png_rows(width, height) if width * height <= 1 << 20 else b"")
    return b"\x89PNG\r\n\x1a\n" + ihdr + png_chunk(b"IDAT", idat) + png_chunk(b"IEND", b"")


def png_bomb(width, height):
    """A picture whose image data inflates to 200 MB: its rows and then zeros."""
    compressor = zlib.compressobj(9)
    data = compressor.compress(png_rows(width, height))
    zeros = b"\x00" * (1 << 20)
    for _ in range(200):
        data += compressor.compress(zeros)
    return png(width, height, idat=data + compressor.flush())


def jpeg_segment(marker, data):
    return b"\xff" + bytes([marker]) + struct.pack(">H", len(data) + 2) + data


def entropy_bytes(bits):
    """Entropy-coded data from a string of bits: padded with ones, every 0xFF stuffed."""
    bits += "1" * (-len(bits) % 8)
    data = bytes(int(bits[i : i + 8], 2) for i in range(0, len(bits), 8))
    return data.replace(b"\xff", b"\xff\x00")


def jpeg_file(frame_marker, width, height, dht, scans):
    """A grey JPEG: its headers with one component, the Huffman tables dht, then the scans."""
    return (
        b"\xff\xd8"
        + jpeg_segment(0xDB, b"\x00" + b"\x01" * 64)
        + jpeg_segment(frame_marker, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
        + jpeg_segment(0xC4, dht)
        + scans
        + b"\xff\xd9"
    )


def jpeg(width, height, dc_counts=None, scan=True):
    """A baseline grey JPEG whose blocks are all flat grey.

    Both Huffman tables hold one code, "0", for symbol 0, so every block is the two bits 00 (DC
    difference 0, then end of block). dc_counts replaces the DC table's code counts; without
    scan the scan's header is followed by no data.
    """
    counts = dc_counts or [1] + [0] * 15
    dht = bytes([0x00]) + bytes(counts) + bytes(sum(counts))
    dht += bytes([0x10, 1] + [0] * 15) + b"\x00"
    blocks = ((width + 7) // 8) * ((height + 7) // 8) if scan else 0
    scans = jpeg_segment(0xDA, b"\x01\x01\x00\x00\x3f\x00") + entropy_bytes("00" * blocks)
    return jpeg_file(0xC0, width, height, dht, scans)


def progressive_jpeg(width, height, scans):
    """A progressive grey JPEG of nothing but the same AC scan, `scans` times.

    The scan's Huffman table holds one code, "0", for symbol 0xE0: an end-of-band run of 2^14 plus
    the next 14 bits, so a few codes cover every block; the block count must be a multiple of 2^14.
    """
    dht = bytes([0x10, 1] + [0] * 15) + b"\xe0"
    runs, rest = divmod(((width + 7) // 8) * ((height + 7) // 8), 1 << 14)
    assert rest == 0
    # Each run is the code 0 and then 14 zero bits: 2^14 blocks.
    data = entropy_bytes("0" * 15 * runs)
    scan = jpeg_segment(0xDA, b"\x01\x01\x00\x01\x3f\x00") + data
    return jpeg_file(0xC2, width, height, dht, scan * scans)


def bmp(width, height, pixel_offset=None, pixels=True):
    """A 24-bit bottom-up bitmap of one colour; pixel_offset replaces where its pixels start."""
    row = (width * 3 + 3) & ~3
    data = (b"\x20\x40\x60" * width + b"\x00" * (row - width * 3)) * height if pixels else b""
    offset = 54 if pixel_offset is None else pixel_offset
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 0, 0, 0, 0)
    return header + info + data


def wav(fmt=None, data_length=None, frames=2205):
    """A mono 16-bit PCM sample at 22050 Hz of one level, `frames` long. fmt replaces its format
    fields (format, channels, rate, byte rate, block align, bits) and data_length the length its
    data chunk states."""
    data = struct.pack("<h", 3000) * frames
    fmt_bytes = struct.pack("<HHIIHH", *(fmt or (1, 1, 22050, 44100, 2, 16)))
    length = len(data) if data_length is None else data_length
    return (
        b"RIFF"
        + struct.pack("<I", 4 + 8 + len(fmt_bytes) + 8 + len(data))
        + b"WAVEfmt "
        + struct.pack("<I", len(fmt_bytes))
        + fmt_bytes
        + b"data"
        + struct.pack("<I", length)
        + data
    )


def random_bytes(seed, count):
    return random.Random(seed).randbytes(count)


# ---------------------------------------------------------------------------------------------
# The cases.


# A named pipe with no writer: opening it for reading waits for one.
FIFO = object()
# A symbolic link to itself: it is there, but opening it fails (ELOOP), even for root.
LOOP = object()


class Gallery:
    def __init__(self, root):
        self.root = root
        self.count = 0

    def case(self, path, name, files, expect):
        """files maps relative names to bytes, text, None for an empty folder, FIFO for a named
        pipe that nothing writes to or LOOP for a link to itself."""
        folder = os.path.join(self.root, path, name)
        os.makedirs(folder)
        for relative, content in files.items():
            target = os.path.join(folder, relative)
            if content is None:
                os.makedirs(target)
                continue
            if content is FIFO or content is LOOP:
                os.makedirs(os.path.dirname(target), exist_ok=True)
                os.mkfifo(target) if content is FIFO else os.symlink(os.path.basename(target), target)
                continue
            os.makedirs(os.path.dirname(target), exist_ok=True)
            if isinstance(content, str):
                content = content.encode("utf-8")
            with open(target, "wb") as out:
                out.write(content)
        with open(os.path.join(folder, "expect"), "w", encoding="utf-8") as out:
            out.write("".join(line + "\n" for line in expect))
        self.count += 1


# The windowed layout of an empty file: 479 x 777 in magenta, the colour key on.
WINDOWED_DEFAULTS = ["client 479 777", "color 16711935", "colour_key 1", "offset 0 0"]
# The fullscreen layout of a 479 x 777 handheld on a 1024 x 768 screen: centred, black.
FULLSCREEN_DEFAULTS = ["client 1024 768", "color 0", "colour_key 0", "offset 272 -4"]

SKIN = "[Common]\nSkinDir=skin\n"
# What a message about a damaged picture adds: the file's full path.
NAMING_FILE = "\\n\\nFile: {FILE}"
# A layout that names no picture of the handheld shows nothing and ends with this message.
NOTHING_NAMED = ["status nothing_to_see", "message Config.ini names no picture of the handheld, "
                 "so there is nothing to show. Please reinstall the game.\\n\\nFile: "
                 "{FOLDER}/Config.ini"]
SKIN_FULLSCREEN = SKIN + "[Fullscreen]\nBackdropDir=backdrop\\\n"


def config_cases(g):
    g.case(
        "layout",
        "config_random_bytes",
        {"Config.ini": random_bytes(1, 64 * 1024)},
        ["mode windowed", *NOTHING_NAMED, *WINDOWED_DEFAULTS, "rect 1 0 0 0 0", "picture 1 none"],
    )
    filler = "; a long comment line that no reader may take for a key\n" * (10 * 1024 * 1024 // 56)
    g.case(
        "layout",
        "config_ten_megabytes",
        {"Config.ini": "[Common]\nGameWidth=300\n" + filler + "[Image9]\nLeft=5\nTop=6\n"},
        ["mode windowed", *NOTHING_NAMED, "client 300 777", "rect 9 5 6 0 0"],
    )
    g.case(
        "layout",
        "config_one_megabyte_line",
        {
            "Config.ini": SKIN
            + "GameWidth="
            + "7" * (1024 * 1024)
            + "\nGameHeight=600\n[Image1]\nFilename="
            + "a" * (1024 * 1024)
            + ".png\nWidth=20\n"
        },
        # The number is cut after 2047 digits and does not fit; the file name is cut to a name
        # no file has, so no picture is found, as when started from another folder.
        ["mode windowed", "status nothing_to_see", "message None of the pictures that Config.ini "
         "names is in the skin folder {FOLDER}/skin/. The folders in Config.ini are relative to "
         "the folder the game is started from ({FOLDER}): please start the game from its own "
         "folder.", "client 479 600", "picture 1 marker", "rect 1 0 0 20 0"],
    )
    g.case(
        "layout",
        "config_lines_without_equals",
        {
            "Config.ini": "[Common]\nGameWidth 300\nGameHeight=500\njust words\n=12\n"
            "[Image2]\nLeft\nTop=7\n"
        },
        ["mode windowed", *NOTHING_NAMED, "client 479 500", "rect 2 0 7 0 0"],
    )
    g.case(
        "layout",
        "config_unterminated_section",
        {
            "Config.ini": "[Common]\nGameWidth=300\n[VideoMode\nTranspColor=red\nGameHeight=400\n"
            "[Image3\nLeft=9\n[Image3]\nTop=4\n"
        },
        ["mode windowed", *NOTHING_NAMED, "client 300 777", *WINDOWED_DEFAULTS[1:],
         "rect 3 0 4 0 0"],
    )
    g.case("layout", "config_is_a_folder", {"Config.ini": None}, [
        "mode windowed", "status config_missing",
        "message Configuration file (Config.ini) not found. Please reinstall the game.",
    ])
    g.case("layout", "config_is_a_fifo", {"Config.ini": FIFO}, [
        "mode windowed", "status config_missing",
        "message Configuration file (Config.ini) not found. Please reinstall the game.",
    ])
    # There but unreadable is told as such, with the reason, never as missing.
    g.case("layout", "config_cannot_be_read", {"Config.ini": LOOP}, [
        "mode fullscreen", "status config_unreadable",
        "message Configuration file (Config.ini) cannot be read: Too many levels of symbolic "
        "links.\\n\\nFile: {FOLDER}/Config.ini",
    ])
    g.case(
        "layout",
        "config_box_places_absurd",
        {
            "Config.ini": "[Image1]\nLeft=2147483647\nTop=-2147483648\nWidth=-5\nHeight=99999999\n"
            "[Image2]\nLeft=2147483648\nTop=0x\nWidth=$FFFFFFFF\nHeight=$100000000\n"
            "[Image3]\nLeft=- 4\nTop=1e3\nWidth=12 \nHeight=\"0x20\"\n"
        },
        [
            "mode windowed",
            *NOTHING_NAMED,
            "rect 1 2147483647 -2147483648 -5 99999999",
            "rect 2 0 0 -1 0",
            "rect 3 0 0 12 32",
        ],
    )
    # A window size or offset that no screen can show ends the program with a message naming
    # the key, in either layout, before any memory is taken for such a window.
    def unshowable(key, value, lowest=0):
        return ["status unshowable", "message [%s] %s in Config.ini is beyond what a screen can "
                "show (%d to 16384 pixels). Please correct the file." % (key[0], "%s=%s"
                % (key[1], value), lowest)]
    for mode in ("windowed", "fullscreen"):
        for name, text, promises in [
            ("width_100000", "GameWidth=100000\n", unshowable(("Common", "GameWidth"), 100000)),
            ("height_2000000", "GameHeight=2000000\n",
             unshowable(("Common", "GameHeight"), 2000000)),
            ("width_negative", "GameWidth=-2147483648\nGameHeight=2147483647\n",
             unshowable(("Common", "GameHeight"), 2147483647)),
            ("height_negative", "GameHeight=-1\n", unshowable(("Common", "GameHeight"), -1)),
        ]:
            g.case("layout", "config_game_%s_%s" % (name, mode),
                   {"Config.ini": "[Common]\n" + text}, ["mode " + mode, *promises])
    g.case(
        "layout",
        "config_game_size_largest",
        {"Config.ini": "[Common]\nGameWidth=16384\nGameHeight=$4000\n"},
        ["mode windowed", *NOTHING_NAMED, "client 16384 16384", "centre 0 0"],
    )
    # A box placed beyond the farthest place there is stays there instead of wrapping round.
    g.case(
        "layout",
        "config_box_places_beyond_the_offset",
        {
            "Config.ini": "[Common]\nGameWidth=0\nGameHeight=16384\n"
            "[Image1]\nLeft=2147483647\nTop=-2147483648\nWidth=1\nHeight=1\n"
            "[Image2]\nLeft=-1073742336\nTop=1073741439\n"
        },
        [
            "mode fullscreen",
            *NOTHING_NAMED,
            "client 1024 768",
            "offset 512 -7808",
            "rect 1 2147483647 -2147483648 1 1",
            "rect 2 -1073741824 1073733631 0 0",
        ],
    )
    g.case(
        "layout",
        "config_game_offset_absurd",
        {
            "Config.ini": "[Fullscreen]\nGameOffsetX=-2147483648\nGameOffsetY=junk\n"
            "[Image1]\nLeft=-1\nTop=10\n"
        },
        ["mode fullscreen",
         *unshowable(("Fullscreen", "GameOffsetX"), -2147483648, -16384)],
    )
    g.case(
        "layout",
        "config_game_offset_largest",
        {"Config.ini": "[Fullscreen]\nGameOffsetX=-16384\nGameOffsetY=16384\n"},
        ["mode fullscreen", *NOTHING_NAMED, "offset -16384 16384"],
    )
    g.case(
        "layout",
        "config_bgcolor_not_a_number",
        {
            "Config.ini": SKIN_FULLSCREEN + "BgColor=red\n[Image1]\nFilename=body.bmp\nLeft=3\n",
            "skin/body.bmp": bmp(4, 4),
        },
        ["mode fullscreen", "status stopped", "message 'red' is not a valid integer value",
         "picture 1 none", "rect 1 0 0 0 0"],
    )
    g.case(
        "layout",
        "config_bgcolor_empty",
        {"Config.ini": "[Fullscreen]\nBgColor=\n"},
        ["mode fullscreen", "status stopped", "message '' is not a valid integer value"],
    )
    g.case(
        "layout",
        "config_transpcolor_not_a_number",
        {"Config.ini": "[VideoMode]\nTranspColor=  $00ff00ffz\n[Image1]\nLeft=3\n"},
        ["mode windowed", "status stopped", "message '$00ff00ffz' is not a valid integer value",
         "rect 1 0 0 0 0"],
    )
    g.case(
        "layout",
        "config_transpcolor_too_big",
        {"Config.ini": "[VideoMode]\nTranspColor=4294967295\n"},
        ["mode windowed", "status stopped", "message '4294967295' is not a valid integer value"],
    )
    g.case(
        "layout",
        "config_logo_position_out_of_range",
        {
            "Config.ini": SKIN_FULLSCREEN + "LogoFile=logo.bmp\nLogoPosition=7\n",
            "backdrop/logo.bmp": bmp(30, 20),
        },
        ["mode fullscreen", *NOTHING_NAMED, *FULLSCREEN_DEFAULTS, "picture 137 30x20",
         "rect 137 0 0 30 20"],
    )
    g.case(
        "layout",
        "config_logo_position_not_a_number",
        {
            "Config.ini": SKIN_FULLSCREEN + "LogoFile=logo.bmp\nLogoPosition=99999999999\n",
            "backdrop/logo.bmp": bmp(30, 20),
        },
        ["mode fullscreen", *NOTHING_NAMED, "rect 137 994 0 30 20"],
    )
    g.case(
        "layout",
        "config_backdrop_stretch_high_byte_only",
        {
            "Config.ini": SKIN_FULLSCREEN + "BackdropFile=back.bmp\nBackdropStretch=256\n",
            "backdrop/back.bmp": bmp(8, 8),
        },
        ["mode fullscreen", *NOTHING_NAMED, "picture 136 8x8", "fit 136 center",
         "rect 136 0 0 1024 768"],
    )


def picture_cases(g):
    def skin_case(name, file_name, content, expect):
        files = {"Config.ini": SKIN + "[Image1]\nFilename=body.bmp\n[Image7]\nFilename="
                 + file_name + "\nLeft=11\nTop=12\nWidth=13\nHeight=14\n"
                 "[Image8]\nFilename=pro.bmp\n",
                 "skin/body.bmp": bmp(5, 3), "skin/pro.bmp": bmp(2, 2)}
        if content is not False:
            files["skin/" + file_name] = content
        expect = [e.replace("{FILE}", "{FOLDER}/skin/" + file_name) for e in expect]
        g.case("layout", name, files, ["mode windowed", "picture 1 5x3", *expect])

    def stops(message):
        # Boxes before the damaged picture are done, the damaged one and those after are not; the
        # message names the file.
        return ["status stopped", "message " + message + NAMING_FILE, "picture 7 none",
                "rect 7 0 0 0 0", "picture 8 none"]

    good = png(16, 16)
    skin_case("png_truncated", "pro.png", good[: len(good) - 20], stops("Read Error"))
    skin_case("png_bad_crc", "pro.png", png(16, 16, ihdr_crc=0x12345678), stops("IHDR: CRC error"))
    # libpng's own check of the sides, then the decoder's check of the pixel count.
    skin_case("png_claims_100000_square", "pro.png", png(100000, 100000),
              stops("Invalid IHDR data"))
    skin_case("png_claims_16384_square", "pro.png", png(16384, 16384),
              stops("Image size exceeds user limit in IHDR"))
    skin_case("png_rows_inflate_far_beyond_the_picture", "pro.png", png_bomb(16, 16),
              ["status done", "picture 7 16x16"])
    skin_case("png_empty", "pro.png", b"", stops("Read Error"))
    skin_case("jpeg_broken_huffman_table", "pro.jpg", jpeg(16, 16, dc_counts=[3] + [0] * 15),
              stops("JPEG error #{JERR_BAD_HUFF_TABLE}"))
    skin_case("jpeg_claims_65535_square", "pro.jpg", jpeg(65535, 65535, scan=False),
              stops("JPEG error #{JERR_IMAGE_TOO_BIG}"))
    skin_case("jpeg_claims_16384_square", "pro.jpg", jpeg(16384, 16384, scan=False),
              stops("JPEG error #{JERR_IMAGE_TOO_BIG}"))
    # Each scan is a pass over all 65536 blocks: without a limit this file takes seconds.
    skin_case("jpeg_five_thousand_scans", "pro.jpg", progressive_jpeg(2048, 2048, 5000),
              stops("JPEG error #{JERR_BAD_PROGRESSION}"))
    skin_case("jpeg_empty", "pro.jpeg", b"", stops("JPEG error #{JERR_INPUT_EMPTY}"))
    whole = jpeg(64, 64)
    skin_case("jpeg_truncated_decodes_filled", "pro.jpg", whole[: len(whole) - 12],
              ["status done", "picture 7 64x64", "rect 7 11 12 13 14"])
    skin_case("bmp_pixels_outside_file", "pro.bmp", bmp(4, 4, pixel_offset=1_000_000),
              stops("Bitmap image is not valid"))
    skin_case("bmp_claims_100000_square", "pro.bmp", bmp(100000, 100000, pixels=False),
              stops("Bitmap image is not valid"))
    skin_case("bmp_claims_16384_square", "pro.bmp", bmp(16384, 16384, pixels=False),
              stops("Bitmap image is not valid"))
    skin_case("bmp_empty", "pro.bmp", b"", stops("Bitmap image is not valid"))
    skin_case("picture_is_a_folder", "pro.png", None,
              ["status done", "picture 7 marker", "rect 7 11 12 13 14", "picture 8 2x2"])
    skin_case("picture_is_a_fifo", "pro.png", FIFO,
              ["status done", "picture 7 marker", "picture 8 2x2"])
    skin_case("picture_unknown_extension", "pro.gif", b"GIF89a",
              stops("Unknown picture file extension (.gif)"))
    skin_case("picture_without_extension", "pro", bmp(2, 2),
              stops("Unknown picture file extension (.)"))
    skin_case("picture_missing", "pro.png", False,
              ["status done", "picture 7 marker", "rect 7 11 12 13 14", "picture 8 2x2"])
    skin_case("picture_named_upper_case_nil", "NIL", False,
              ["status done", "picture 7 marker", "picture 8 2x2"])
    g.case(
        "layout",
        "backdrop_damaged",
        {
            "Config.ini": SKIN_FULLSCREEN + "BackdropFile=back.png\n[Image1]\nFilename=body.bmp\n",
            "backdrop/back.png": png(8, 8)[:30],
            "skin/body.bmp": bmp(5, 3),
        },
        ["mode fullscreen", "status stopped",
         "message Read Error\\n\\nFile: {FOLDER}/backdrop/back.png", "picture 136 none",
         "picture 1 none"],
    )


def manual_cases(g):
    config = "[Manual]\nManualDir=manual\n"
    g.case(
        "manual",
        "manual_size_absurd",
        {"Config.ini": config + "ManualWidth=-5\nManualHeight=2147483647\n"},
        ["size 1 4096", "page 1 marker", "page 14 marker", "no_error"],
    )
    g.case(
        "manual",
        "manual_page_damaged",
        {
            "Config.ini": config + "ManualWidth=99999999999\nManualHeight=abc\n",
            "manual/1.bmp": bmp(6, 4),
            "manual/3.bmp": bmp(6, 4, pixel_offset=999),
            "manual/4.bmp": bmp(6, 4),
        },
        ["size 340 535", "page 1 6x4", "page 2 marker", "no_error", "page 3 none",
         "error Bitmap image is not valid\\n\\nFile: {FOLDER}/manual/3.bmp", "page 4 none"],
    )
    g.case(
        "manual",
        "manual_page_is_a_folder_or_fifo",
        {"Config.ini": config, "manual/2.bmp": None, "manual/4.bmp": FIFO,
         "manual/5.bmp": bmp(3, 3)},
        ["size 340 535", "page 2 marker", "page 4 marker", "page 5 3x3", "no_error"],
    )


def sound_cases(g):
    samples = ["Beep", "Bonus", "Miss", "Point", "Start"]

    def sound_case(name, replaced, expect, extra=None):
        files = {"Sound/%s.wav" % s: wav() for s in samples}
        for sample, content in replaced.items():
            files["Sound/%s.wav" % sample] = content
        g.case("sound", name, files | (extra or {}), expect)

    failed = ["start fails",
              "message Sound folder unproperly installed. Please reinstall the game."]
    sound_case("beep_truncated", {"Beep": wav()[:30]}, failed)
    sound_case("beep_not_a_wav", {"Beep": b"This is a text file, not a sound.\n" * 10}, failed)
    sound_case("beep_empty", {"Beep": b""}, failed)
    sound_case("beep_is_a_folder", {"Beep": None}, failed)
    sound_case("beep_is_a_fifo", {"Beep": FIFO}, failed)
    sound_case("bonus_is_a_fifo", {"Bonus": FIFO}, ["start ok", "silent Bonus", "plays Point"])
    sound_case("beep_no_channels", {"Beep": wav(fmt=(1, 0, 22050, 0, 0, 16))}, failed)
    sound_case("beep_rate_zero", {"Beep": wav(fmt=(1, 1, 0, 0, 2, 16))}, failed)
    sound_case("beep_twelve_bits", {"Beep": wav(fmt=(1, 1, 22050, 44100, 2, 12))}, failed)
    sound_case("beep_unknown_format", {"Beep": wav(fmt=(0x1234, 1, 22050, 44100, 2, 16))},
               failed)
    sound_case("beep_data_claims_4_gigabytes", {"Beep": wav(data_length=0xFFFFFFF0)},
               ["start ok", "plays Beep"])
    # The splash screen's own pictures: a broken one leaves its place plain.
    sound_case("splash_pictures_broken", {}, ["start ok", "plays Beep"], {
        "Graphics/Splash/background.png": FIFO,
        "Graphics/Splash/box.jpg": random_bytes(5, 300),
        "Graphics/Splash/play.png": png(8, 8)[:40],
        "Graphics/Splash/play_disabled.png": None,
    })
    sound_case("bonus_not_a_wav", {"Bonus": random_bytes(2, 4096)},
               ["start ok", "silent Bonus", "plays Beep"])
    sound_case("bonus_truncated", {"Bonus": wav()[:40]}, ["start ok", "silent Bonus", "plays Miss"])


SETTINGS_DEFAULTS = {
    "FullscreenMode": 1, "SplashScreen": 1, "SoundMode": -1,
    "Key1": 2, "Key2": 3, "Key3": 4, "Key4": 6, "Key5": 37, "Key6": 39, "Key7": 40, "Key8": 38,
    "HiScore1": 0, "HiScore2": 0,
}


def settings_cases(g):
    def settings_case(name, content, values, write, kept=(), damaged=True):
        expect = ["value %s %d %d" % (n, values.get(n, d), d) for n, d in SETTINGS_DEFAULTS.items()]
        expect.append("write %s %d" % write)
        expect += ["kept %s %s" % k for k in kept]
        expect.append("damaged_copy %s" % ("yes" if damaged else "no"))
        g.case("settings", name, {"QuibMan50.conf": content}, expect)

    settings_case("binary_garbage", random_bytes(3, 4096), {}, ("HiScore1", 5),
                  [("HiScore1", "5")])
    settings_case(
        "truncated",
        b"[General]\nKey1=5\nKey2=7\nHiScore1=12\nHiScore2=3",
        {"Key1": 5, "Key2": 7, "HiScore1": 12, "HiScore2": 3},
        ("SoundMode", 2),
        [("Key1", "5"), ("Key2", "7"), ("HiScore1", "12"), ("HiScore2", "3"), ("SoundMode", "2")],
        damaged=False,
    )
    settings_case(
        "truncated_inside_a_name",
        b"[General]\nKey1=5\nHiScore1=900\nHiSc",
        {"Key1": 5, "HiScore1": 900},
        ("HiScore2", 8),
        [("Key1", "5"), ("HiScore1", "900"), ("HiScore2", "8")],
    )
    settings_case(
        "every_value_absurd",
        b"[General]\nFullscreenMode=yes\nSplashScreen=99999999999\nSoundMode=0x1\n"
        b"Key1=-99999999999\nKey2=1.5\nKey3=\" 4\"\nKey4=+6\nKey5=1e2\nKey6=@Invalid()\n"
        b"Key7=40, 41\nKey8=\nHiScore1=abc\nHiScore2=12abc\n",
        {},
        ("HiScore1", 100),
        [("HiScore1", "100")],
        damaged=False,
    )
    settings_case(
        "good_values_among_garbage",
        random_bytes(4, 512).replace(b"\n", b"") + b"\n[General]\nHiScore1=4321\nHiScore2=77\n"
        b"\x00\xff\xfe\x01 garbage = \x80\x81\n",
        {"HiScore1": 4321, "HiScore2": 77},
        ("Key1", 9),
        [("HiScore1", "4321"), ("HiScore2", "77"), ("Key1", "9")],
    )
    settings_case(
        "values_in_another_section",
        b"[Other]\nHiScore1=5\n[General]\nHiScore2=6\n",
        {"HiScore2": 6},
        ("SplashScreen", 0),
        [("HiScore2", "6"), ("SplashScreen", "0")],
    )
    # A line that cannot be read costs itself only, never the values after it.
    for name, line in [
        ("unbalanced_quote", b'Nick="Bob'),
        ("trailing_backslash", b"Path=C:\\games\\"),
        ("header_without_bracket", b"[Broken"),
        ("control_bytes_in_a_value", b"Nick=a\x01b"),
        ("name_given_twice", b"HiScore1=7"),
    ]:
        settings_case(
            name,
            b"[General]\nKey1=5\nHiScore1=500\n" + line + b"\nHiScore2=60\nKey2=\"7\"\n",
            {"Key1": 5, "HiScore1": 500, "HiScore2": 60, "Key2": 7},
            ("SoundMode", 1),
            [("Key1", "5"), ("HiScore1", "500"), ("HiScore2", "60"), ("Key2", '"7"'),
             ("SoundMode", "1")],
        )
    settings_case(
        "quotes_comments_and_blank_lines",
        b"; written by hand\n\n[General]\nKey1 = 5 \nHiScore1=\"500\"\nNick=\"Bob Smith\"\n",
        {"Key1": 5, "HiScore1": 500},
        ("SoundMode", 1),
        [("Key1", "5"), ("HiScore1", '"500"'), ("Nick", '"Bob Smith"'), ("SoundMode", "1")],
        damaged=False,
    )
    settings_case("one_megabyte_line", b"[General]\nHiScore1=" + b"9" * (1024 * 1024) + b"\n",
                  {}, ("HiScore2", 1), [("HiScore2", "1")], damaged=False)
    g.case("settings", "settings_file_is_a_folder", {"QuibMan50.conf": None},
           ["value %s %d %d" % (n, d, d) for n, d in SETTINGS_DEFAULTS.items()]
           + ["refused HiScore1 10 0"])


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_gallery.py OUT")
    root = sys.argv[1]
    if os.path.exists(root):
        shutil.rmtree(root)
    g = Gallery(root)
    config_cases(g)
    picture_cases(g)
    manual_cases(g)
    sound_cases(g)
    settings_cases(g)
    print("%d cases in %s" % (g.count, root))


if __name__ == "__main__":
    main()
