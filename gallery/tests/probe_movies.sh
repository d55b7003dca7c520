#!/usr/bin/env bash
# Writes the export's test movies under Wine, then reads them with ffprobe:
#   music.avi:  2.5 s of music: 30 frames (2500 x 12 / 1000) of 32 x 24 at
#               12/1 fps, and one pcm_s16le 22050 Hz stereo stream;
#   silent.avi: 3 s without music: 36 frames, no audio stream.
# Usage: probe_movies.sh WINE-LOADER TEST-PROGRAM FOLDER
set -euo pipefail
loader=$1 program=$2 folder=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
rm -rf "$folder"
mkdir -p "$folder"
PENNARO_MOVIE_FOLDER="Z:$(echo "$folder" | tr '/' '\\')\\" "$loader" "$program" --gtest_filter='ExportTest.MoviesForTheProbe' \
    || fail "the export case failed under Wine"

probe() { ffprobe -v error -show_entries "$2" -of default=noprint_wrappers=1 "$folder/$1"; }

video=$(probe music.avi stream=codec_type,width,height,r_frame_rate,nb_frames -select_streams v)
echo "$video"
echo "$video" | grep -qx 'width=32' || fail "music.avi is not 32 wide"
echo "$video" | grep -qx 'height=24' || fail "music.avi is not 24 high"
echo "$video" | grep -qx 'r_frame_rate=12/1' || fail "music.avi is not 12 frames a second"
echo "$video" | grep -qx 'nb_frames=30' || fail "music.avi does not hold 30 frames"
audio=$(ffprobe -v error -select_streams a -show_entries stream=codec_name,sample_rate,channels \
        -of default=noprint_wrappers=1 "$folder/music.avi")
echo "$audio"
[ "$(echo "$audio" | grep -c '^codec_name=')" = 1 ] || fail "music.avi has not exactly one sound stream"
echo "$audio" | grep -qx 'codec_name=pcm_s16le' || fail "music.avi's sound is not pcm_s16le"
echo "$audio" | grep -qx 'sample_rate=22050' || fail "music.avi's sound is not 22050 Hz"
echo "$audio" | grep -qx 'channels=2' || fail "music.avi's sound is not stereo"

silent=$(ffprobe -v error -show_entries stream=codec_type,nb_frames -of default=noprint_wrappers=1 \
         "$folder/silent.avi")
echo "$silent"
echo "$silent" | grep -qx 'codec_type=audio' && fail "silent.avi has a sound stream"
echo "$silent" | grep -qx 'nb_frames=36' || fail "silent.avi does not hold 36 frames"
echo "both movies as exported"
