#!/usr/bin/env python3
"""Cast members named before the cast scene has introduced them, over ironic stories played at random.

  tools/introductions.py [CLI] [DATA] [STORIES]

Plays STORIES ironic stories (seeds 1..STORIES, theme and the rest at random) and counts the stories in
which a member's name first appears before the sentence of the cast scenes (material/ironic/n_cast*.qrb,
n_?_cast.qrb) that introduces that member, or is never introduced at all.
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

cli = sys.argv[1] if len(sys.argv) > 1 else "build/quorbel-cli"
data = sys.argv[2] if len(sys.argv) > 2 else "data"
count = int(sys.argv[3]) if len(sys.argv) > 3 else 200
material = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "material", "ironic")

# Introduction lines by member (1..10): the cast scene lines that carry that member's token.
intros = {}
for path in glob.glob(os.path.join(material, "n_cast*.qrb")) + glob.glob(os.path.join(material, "n_?_cast.qrb")):
    for line in open(path, encoding="utf-8"):
        m = re.search(r"_npc(\d)", line)
        if m:
            intros.setdefault(int(m.group(1)) or 10, []).append(line.strip())


def pattern(line, member, name):
    # Justified lines widen the blanks, so any run of blanks matches one.
    words = line.replace("_npc%d" % (member % 10), "\0").split()
    return r"\s+".join(re.escape(w).replace("\0", re.escape(name)) for w in words)


with tempfile.TemporaryDirectory() as work:
    play = os.path.join(work, "data")
    shutil.copytree(data, play)
    with open(os.path.join(play, "quorbel.cfg"), "wb") as cfg:
        cfg.write(("\r\n".join(["2"] + ["0"] * 9) + "\r\n").encode("cp1251"))
    bad = 0
    for seed in range(1, count + 1):
        out = subprocess.run([cli, "--data", play, "--seed", str(seed), "--play", "random", "--json"],
                             check=True, capture_output=True, text=True).stdout
        story = json.loads(out)
        text = re.sub(r"\s+", " ", re.sub(r"-\n", "", "\n".join(story["lines"])))
        faults = []
        for member, form in enumerate(story["cast"], 1):
            name = form[:-1].replace("|", "")
            found = [m.start() for line in intros.get(member, [])
                     for m in [re.search(pattern(line, member, name), text)] if m]
            if not found:
                faults.append(f"{member} ({name}) never introduced")
            elif text.find(name) < min(found):
                faults.append(f"{member} ({name}) named before the introduction")
        if faults:
            bad += 1
            print(f"seed {seed}: " + "; ".join(faults))
print(f"{count} ironic stories: {bad} with a member named before being introduced")
