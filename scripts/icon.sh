#!/usr/bin/env bash
# Renders the program's icon from resources/nerubato.svg into the files the
# build uses, which are committed so that the build needs none of these tools:
#   resources/nerubato.ico     16, 24, 32, 48 and 64 px as bitmaps, 256 px as PNG
#                              (the Windows resource: Explorer, the taskbar)
#   resources/nerubato-64.png  the window icon, 64 px
#   resources/nerubato-64.rgba the same as raw RGBA pixels, compiled into the
#                              program: decoding a PNG at start would cost it
#                              a millisecond, the first image reader's
#   resources/nerubato.png     256 px, for pages and desktops
# Every size is rendered from the drawing itself rather than scaled from
# another, so the small ones stay sharp.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
nerubato_install librsvg2-bin icoutils pkg-config

resources=$NERUBATO_ROOT/resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 256; do
    rsvg-convert --width=$size --height=$size "$resources/nerubato.svg" -o "$work/$size.png"
done
# The small sizes as bitmaps, which every reader of icons takes; 256 px as PNG,
# as is the custom (its bitmap alone would be 256 KiB).
icotool --create --output="$resources/nerubato.ico" \
    "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" "$work/64.png" \
    --raw="$work/256.png"
cp "$work/64.png" "$resources/nerubato-64.png"
cat >"$work/rgba.cpp" <<'CPP'
#include <QFile>
#include <QImage>
int main(int, char **argv)
{
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGBA8888);
    QFile out(QString::fromLocal8Bit(argv[2]));
    const qsizetype size = image.sizeInBytes();
    return image.width() == 64 && image.height() == 64 && out.open(QIODevice::WriteOnly) &&
                   out.write(reinterpret_cast<const char *>(image.constBits()), size) == size
               ? 0
               : 1;
}
CPP
g++ -std=c++17 -fPIC "$work/rgba.cpp" $(pkg-config --cflags --libs Qt6Gui) -o "$work/rgba"
"$work/rgba" "$work/64.png" "$resources/nerubato-64.rgba"
cp "$work/256.png" "$resources/nerubato.png"
icotool --list "$resources/nerubato.ico"
