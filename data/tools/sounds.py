#!/usr/bin/env python3
"""Renders the program's sounds for the data compiler.

    sounds.py DATA-FOLDER OUT-FOLDER CACHE-FOLDER

Every DATA-FOLDER/sounds/*.txt declares sounds, each on a 'sound' line
followed by the line that makes it:

    sound NAME FILE [item=N] [stream] [raw]
        sox SOX-ARGUMENTS...           an effect made by sox from nothing
        voice "TEXTE"                  French speech (espeak-ng)
        music SONG.abc [program=N]     a song of data/music, played by fluidsynth

Each sound becomes 22050 Hz 16-bit stereo PCM in CACHE-FOLDER, named by a hash
of what makes it. OUT-FOLDER receives sounds.lst, one line per sound.
"""
import concurrent.futures
import hashlib
import os
import threading
import shlex
import shutil
import subprocess
import sys

VERSION = "2"
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
PCM = ["-r", "22050", "-c", "2", "-b", "16", "-e", "signed-integer"]


class Refused(Exception):
    pass


def tool(name):
    path = shutil.which(name)
    if not path:
        raise SystemExit("sounds.py: %s is not installed (scripts/setup.sh installs it)" % name)
    return path


def declarations(data):
    folder = os.path.join(data, "sounds")
    sounds = []
    for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
        if not name.endswith(".txt"):
            continue
        shown = "data/sounds/" + name
        current = None
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            for number, text in enumerate(f, 1):
                words = shlex.split(text, comments=True)
                if not words:
                    continue
                where = "%s:%d" % (shown, number)
                if words[0] == "sound":
                    if current and "make" not in current:
                        raise Refused("%s: the sound before has no line that makes it" % where)
                    if len(words) < 3:
                        raise Refused("%s: a sound line is 'sound NAME FILE [options]'" % where)
                    current = {"name": words[1], "file": words[2], "item": "-", "flags": [],
                               "source": shown, "line": number}
                    for option in words[3:]:
                        key, _, value = option.partition("=")
                        if key == "item" and value.isdigit():
                            current["item"] = value
                        elif key in ("stream", "raw") and not value:
                            current["flags"].append(key)
                        else:
                            raise Refused("%s: unknown sound option '%s'" % (where, option))
                    sounds.append(current)
                elif words[0] in ("sox", "voice", "music") and current and "make" not in current:
                    current["make"] = words
                    if words[0] == "music":
                        song = os.path.join(data, "music", words[1] if len(words) > 1 else "")
                        if len(words) < 2 or not os.path.isfile(song):
                            raise Refused("%s: no song data/music/%s" % (where, words[1:2]))
                        with open(song, encoding="utf-8") as s:
                            current["song"] = s.read()
                        current["song_path"] = song
                else:
                    raise Refused("%s: expected 'sound', or one 'sox', 'voice' or 'music' line after it"
                                  % where)
        if current and "make" not in current:
            raise Refused("%s: the last sound has no line that makes it" % shown)
    return sounds


def make(job):
    s, cache = job
    wav = os.path.join(cache, s["key"] + ".wav")
    if os.path.exists(wav):
        return False
    # Builds in other clones share this cache: each writes its own temporaries.
    tmp = "%s.%d.%d.part" % (wav, os.getpid(), threading.get_ident())
    sox = tool("sox")
    kind = s["make"][0]
    if kind == "sox":
        subprocess.run([sox, "-n"] + PCM + [tmp + ".wav"] + s["make"][1:], check=True)
    elif kind == "voice":
        subprocess.run([tool("espeak-ng"), "-v", "fr", "-s", "140", "-p", "60", "-w", tmp + ".v.wav",
                        " ".join(s["make"][1:])], check=True)
        subprocess.run([sox, tmp + ".v.wav"] + PCM + [tmp + ".wav", "gain", "-n", "-3"], check=True)
        os.remove(tmp + ".v.wav")
    else:
        program = "0"
        for option in s["make"][2:]:
            if option.startswith("program="):
                program = option.split("=", 1)[1]
        abc = tmp + ".abc"
        with open(abc, "w", encoding="utf-8") as f:
            f.write(s["song"].replace("%%PROGRAM", "%%MIDI program " + program))
        subprocess.run([tool("abc2midi"), abc, "-o", tmp + ".mid", "-silent"], check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run([tool("fluidsynth"), "-ni", "-q", "-g", "0.7", "-r", "22050", "-F", tmp + ".raw.wav",
                        SOUNDFONT, tmp + ".mid"], check=True, stdout=subprocess.DEVNULL)
        # The synthesizer's release tail: cut trailing silence, keep a short fade.
        subprocess.run([sox, tmp + ".raw.wav"] + PCM + [tmp + ".wav", "reverse", "silence", "1", "0.05", "0.2%",
                        "reverse", "gain", "-n", "-2"], check=True)
        for f in (abc, tmp + ".mid", tmp + ".raw.wav"):
            os.remove(f)
    os.replace(tmp + ".wav", wav)
    return True


def main():
    data, out, cache = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    os.makedirs(cache, exist_ok=True)
    try:
        sounds = declarations(data)
    except Refused as refusal:
        print(refusal, file=sys.stderr)
        return 1
    for s in sounds:
        digest = hashlib.sha256()
        for part in [VERSION] + s["make"] + [s.get("song", "")]:
            digest.update(part.encode("utf-8") + b"\0")
        s["key"] = digest.hexdigest()[:32]
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        made = sum(pool.map(make, [(s, cache) for s in sounds]))
    with open(os.path.join(out, "sounds.lst"), "w", encoding="utf-8") as f:
        for s in sounds:
            f.write('sound %s %s %s %s "%s" %s %d\n' % (
                s["name"], s["file"], s["item"], ",".join(s["flags"]) or "plain",
                "Z:" + os.path.abspath(os.path.join(cache, s["key"] + ".wav")), s["source"], s["line"]))
    print("sound: %d sounds, %d made" % (len(sounds), made))
    return 0


if __name__ == "__main__":
    sys.exit(main())
