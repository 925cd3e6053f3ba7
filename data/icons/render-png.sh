#!/bin/sh
# Renders kovrant.svg into the hicolor PNG sizes and copies it as the scalable icon.
# Needs rsvg-convert (Debian package librsvg2-bin). Run from any folder.
set -e
cd "$(dirname "$0")"
for n in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${n}x${n}/apps"
    rsvg-convert -w "$n" -h "$n" kovrant.svg -o "hicolor/${n}x${n}/apps/kovrant.png"
done
mkdir -p hicolor/scalable/apps
cp kovrant.svg hicolor/scalable/apps/kovrant.svg
