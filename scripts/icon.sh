#!/usr/bin/env bash
# Renders the programs' icons, resources/nerubato.svg and resources/quorvex.svg,
# into the files the build uses, which are committed so that the build needs
# none of these tools. For each NAME of the two:
#   resources/NAME.ico         16, 24, 32, 48 and 64 px as bitmaps, 256 px as PNG
#                              (the Windows resource: Explorer, the taskbar)
#   resources/NAME-64.png      the window icon, 64 px
#   resources/NAME-64.rgba     the same as raw RGBA pixels, compiled into the
#                              program: decoding a PNG at start would cost it
#                              a millisecond, the first image reader's
# and resources/nerubato.png, 256 px, for pages and desktops.
# Every size is rendered from the drawing itself rather than scaled from
# another, so the small ones stay sharp.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
nerubato_install librsvg2-bin icoutils pkg-config

resources=$NERUBATO_ROOT/resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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

# render_icon NAME: resources/NAME.svg into NAME.ico, NAME-64.png and NAME-64.rgba.
render_icon() {
    local name=$1
    for size in 16 24 32 48 64 256; do
        rsvg-convert --width=$size --height=$size "$resources/$name.svg" -o "$work/$name-$size.png"
    done
    # The small sizes as bitmaps, which every reader of icons takes; 256 px as PNG,
    # as is the custom (its bitmap alone would be 256 KiB).
    icotool --create --output="$resources/$name.ico" \
        "$work/$name-16.png" "$work/$name-24.png" "$work/$name-32.png" "$work/$name-48.png" \
        "$work/$name-64.png" --raw="$work/$name-256.png"
    cp "$work/$name-64.png" "$resources/$name-64.png"
    "$work/rgba" "$work/$name-64.png" "$resources/$name-64.rgba"
    icotool --list "$resources/$name.ico"
}

render_icon nerubato
cp "$work/nerubato-256.png" "$resources/nerubato.png"
render_icon quorvex
