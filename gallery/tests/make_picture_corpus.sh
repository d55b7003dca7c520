#!/usr/bin/env bash
# Makes the picture import's corpus in the folder given: BMP and JPEG files
# written by ImageMagick and libjpeg's tools, each with the RGB bytes those
# tools decode it to (NAME.rgb, rows top to bottom).
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
convert=convert-im6.q16
$convert -size 37x23 -seed 7 plasma:fractal -depth 8 source.png
$convert source.png -monochrome BMP3:one.bmp
$convert source.png -colors 16 -type palette BMP3:four.bmp
$convert source.png -colors 200 -type palette -compress RLE BMP3:rle8.bmp
$convert source.png -define bmp:subtype=RGB565 BMP:565.bmp
$convert source.png -type truecolor BMP3:rgb24.bmp
$convert source.png -alpha set -define bmp:format=bmp5 BMP:v5.bmp
for f in one four rle8 565 rgb24 v5; do
    $convert "$f.bmp" -depth 8 "rgb:$f.rgb"
done
$convert source.png -depth 8 ppm:source.ppm
cjpeg -quality 85 source.ppm >baseline.jpg
cjpeg -quality 85 -progressive source.ppm >progressive.jpg
cjpeg -quality 85 -grayscale source.ppm >grey.jpg
for f in baseline progressive grey; do
    djpeg -ppm "$f.jpg" | $convert ppm:- -depth 8 "rgb:$f.rgb"
done
head -c 700 baseline.jpg >cut.jpg
