#!/usr/bin/env python3
"""Variety of the shipped material over stories played at random.

  tools/variety.py [CLI] [DATA] [STORIES]

Plays STORIES stories (seeds 1..STORIES) with `quorbel-cli --play random --json` and prints, for
each style the stories fell to, the mean and smallest word count of a whole story, the sentences
repeated within a story, the share of sentences two stories of the same style, theme and plot
variant have in common, and the share of a story's sentences that open with one word.
"""
import itertools
import json
import re
import subprocess
import sys
from collections import Counter, defaultdict

cli = sys.argv[1] if len(sys.argv) > 1 else "build/quorbel-cli"
data = sys.argv[2] if len(sys.argv) > 2 else "data"
count = int(sys.argv[3]) if len(sys.argv) > 3 else 100


def sentences(text):
    # Hyphenated line ends are joined again; a sentence ends with . ! ? or … before a blank.
    text = re.sub(r"-\n", "", text)
    text = re.sub(r"\s+", " ", text)
    parts = re.split(r"(?<=[.!?…])\s+", text)
    return [p.strip(" -—") for p in parts if len(p.strip(" -—").split()) >= 4]


class Style:
    def __init__(self):
        self.words, self.repeats, self.groups, self.openers = [], 0, defaultdict(list), []


styles = defaultdict(Style)
for seed in range(1, count + 1):
    out = subprocess.run([cli, "--data", data, "--seed", str(seed), "--play", "random", "--json"],
                         check=True, capture_output=True, text=True).stdout
    story = json.loads(out)
    st = styles[story["settings"][0]]
    text = "\n".join(story["lines"])
    st.words.append(len([w for w in text.split() if w not in "-—"]))
    found = Counter(sentences(text))
    first = Counter(re.sub(r"^[^\wЁё]+", "", s).split(" ")[0].lower() for s in found.elements())
    if first:
        word, n = first.most_common(1)[0]
        st.openers.append((n / sum(first.values()), word, seed))
    st.repeats += sum(n - 1 for n in found.values() if n > 1)
    st.groups[(story["title"].split("«")[0], story["plotVariant"])].append(set(found))

for number, st in sorted(styles.items()):
    shared = []
    for stories in st.groups.values():
        for a, b in itertools.combinations(stories, 2):
            shared.append(len(a & b) / max(1, min(len(a), len(b))))
    print(f"style {number}: {len(st.words)} stories: {sum(st.words) / len(st.words):.0f} words on average, "
          f"{min(st.words)} at least")
    print(f"  sentences repeated within a story: {st.repeats} in all")
    if st.openers:
        share, word, seed = max(st.openers)
        print(f"  sentences opening with one word: {100 * sum(o[0] for o in st.openers) / len(st.openers):.1f} % "
              f"on average, {100 * share:.1f} % at most (\"{word}\", seed {seed})")
    if shared:
        print(f"  sentences shared by two stories of one theme and variant: "
              f"{100 * sum(shared) / len(shared):.1f} % on average, {100 * max(shared):.1f} % at most")
