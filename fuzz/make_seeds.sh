#!/usr/bin/env bash
# Writes the seed corpora of the harnesses into fuzz/corpus/. The seeds are
# kept in the tree; run this again only to remake them. Needs ImageMagick
# ("convert") and python3, both in scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Tiny JPEGs without metadata: colour, grey and progressive.
convert -size 8x8 gradient:red-blue -strip -quality 90 "$work/c8.jpg"
convert -size 16x16 gradient:yellow-navy -strip -quality 75 "$work/c16.jpg"
convert -size 16x16 gradient: -colorspace Gray -strip -quality 90 "$work/g16.jpg"
convert -size 16x8 gradient:lime-purple -strip -quality 85 "$work/c16x8.jpg"
convert -size 8x8 gradient:orange-teal -strip -interlace JPEG -quality 90 "$work/p8.jpg"

python3 - "$work" <<'PY'
import os, struct, sys
work = sys.argv[1]
corpus = "corpus"

def write(harness, name, data):
    folder = os.path.join(corpus, harness)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)

def read(name):
    with open(os.path.join(work, name), "rb") as f:
        return f.read()

def with_orientation(jpeg, orientation):
    # An Exif APP1 segment after the SOI: a little-endian TIFF header and
    # one IFD entry, Orientation (0x0112), SHORT, count 1.
    tiff = b"II*\0" + struct.pack("<I", 8) + struct.pack("<H", 1)
    tiff += struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0) + struct.pack("<I", 0)
    payload = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:]

# fuzz_convert: ten setting bytes (see fuzz_convert.cpp), then the JPEG.
#   b0 rotation angle, b1 rotation type | resize | units | aspect | type | flip h,
#   b2 flip v | colours | invert | grey | threshold | RLE | back colour,
#   b3 depth (% 5) and filter, b4 b5 targets, b6 b7 brightness and contrast,
#   b8 gamma, b9 threshold level.
def settings(*b):
    return bytes(b) + bytes(10 - len(b))

write("fuzz_convert", "plain_8x8", settings() + read("c8.jpg"))
write("fuzz_convert", "rotate90_half_16bit_rle", settings(64, 0x04 | 0x08 | 0x10, 0x20, 2, 49, 49) + read("c16.jpg"))
write("fuzz_convert", "grey_threshold_8bit", settings(0, 0, 0x08 | 0x10, 1, 0, 0, 100, 100, 25, 128) + read("g16.jpg"))
write("fuzz_convert", "exif6_flips_colours_32bit",
      settings(0, 0x80, 0x01 | 0x02 | 0x04, 4, 0, 0, 120, 80, 60) + with_orientation(read("c16x8.jpg"), 6))
write("fuzz_convert", "exif3_advanced45_aspect_24bit_rle",
      settings(32, 0x01 | 0x04 | 0x20, 0x20 | 0xC0, 3 + 5 * 4, 12, 30) + with_orientation(read("c8.jpg"), 3))
write("fuzz_convert", "progressive_shrink_only", settings(0, 0x04 | 0x40, 0, 5 * 5, 4, 4) + read("p8.jpg"))

# fuzz_ini: profiles and configuration files.
write("fuzz_ini", "profile_cli.ini",
      "[CLI]\r\n--WIDTH = 50\r\n--height=50\r\n--WIDTH-UNIT = percent\r\n"
      "--FILENAME-MASK = \"%filename%_%n%.%ext%\"\r\n--GREYSCALE = 0\r\n--WM-SOLID-OPACITY = 40\r\n"
      "--TGA-BPP=16\r\n--gamma = 1.5\r\n--rotation-type = Advanced\r\n--width = $1F\r\n")
write("fuzz_ini", "config_old_layout.ini",
      "\ufeff\r\n[General]\r\nCFG = 10\r\nLanguage = en\r\nSave Window Position = 1\r\n; \r\n"
      "[Window]\r\nIsMaximized = 0\r\nWidth = 640\r\nHeight = 300\r\nX = -20\r\nY = 99999999999\r\n; \r\n"
      "[Input]\r\nFormat = jpg\r\nRAW Load As = 3\r\n; \r\n"
      "[Output]\r\nFormat = tga\r\nTGA BPP = 16\r\nTGA Compression = 1\r\n; \r\n"
      "[Adjustment]\r\nImage Gamma = +Infinity\r\nImage Brightness = -100\r\n; \r\n"
      "[Advanced]\r\nFilename Mask = %filename%_%n%\r\n; \r\n")
write("fuzz_ini", "latin1.ini", b"[Watermark]\nText = caf\xe9 %width%\n[cli]\n--wm-text = \xe9t\xe9\n--wm-font=Arial\n")
write("fuzz_ini", "odd_lines.ini", "[\n=\n==\n[x\n=y\n  ; comment\n\t[CLI\n--ROTATION\n[CLI]\n--rotation=-45\n--rotation=400")

# fuzz_params: one parameter per NUL-separated part.
def params(*p):
    return "\0".join(p)

write("fuzz_params", "console_run", params("-i", "photo.jpg", "-o", "/tmp/out", "--tga-bpp=16", "--width=50",
      "--height=50", "--width-unit=percent", "--filename-mask=%filename%_%n%.%ext%"))
write("fuzz_params", "quoted_and_switches", params("--input=\"my", "photo.jpg\"", "--rotation=90",
      "--rotation-type=advanced", "--brightness=-20", "--gamma=NaN", "--invert", "-d", "-q"))
write("fuzz_params", "profile_then_option", params("--profile=p.ini", "--jpg-quality=70", "--keep-aspect-ratio=0",
      "--width=$1F", "--threshold=%1010"))
write("fuzz_params", "missing_value", params("-o", "-x"))
write("fuzz_params", "watermark_and_frame", params("--wm-text=\"a", "b", "c\"", "--fr-solid-left=5",
      "--wm-font-style=bold", "--file-timestamp=custom", "--file-timestamp-custom=0", "--no-subfolders"))
write("fuzz_params", "conversion_last", params("-c", "\"tga\"", "-p", "--width"))

# fuzz_mask: mask, input path and a text, split at NUL bytes.
write("fuzz_mask", "default_mask", params("", "/in/dsc01.jpg"))
write("fuzz_mask", "tokens_any_case", params("IMG_%n%_%FILENAME[U]%.%EXT%", "/in/dsc01.jpg"))
write("fuzz_mask", "title_and_size", params("%filename[t]%", "/in/my PHOTO.jpg", "%width%x%height% %bpp% bits"))
write("fuzz_mask", "dates", params("%yyyy%-%mm%-%dd% %hh%.%ii%.%ss%_%rnd%", "C:\\Photos\\Trip.2019.JPG"))
write("fuzz_mask", "token_in_name", params("%filename%.%ext%", "/in/a%ext%b.jpg", "%EOL%Line %N%"))
write("fuzz_mask", "accents", params("ÉTÉ_%filename%", "/in/Été.jpg", "Été %FILENAME[L]% %eol% \u00a9"))
write("fuzz_mask", "dotted_capital_i", params("%filename%_%n%", "/in/İstanbul.jpg", "İstanbul %N%"))
PY
ls -l corpus/*
