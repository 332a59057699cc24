#!/usr/bin/env python3
"""Word echoes in stories played at random: the same content word twice within a short span.

  tools/echoes.py [CLI] [DATA] [STORIES] [SPAN] [TOP]

Plays STORIES stories (seeds 1..STORIES) with `quorbel-cli --play random --json`, reduces each word
to its lemma with the Russian analyser (lt-proc), and counts, per style, the pairs of one noun,
verb, adjective or adverb that stand within SPAN words of each other in one paragraph and in two
sentences of two records. A repetition inside one record is the linter's to find, and is most
often a figure the author meant; an echo that joins two records is only found in the told story.
Two sentences belong to one record when one line of the story's style in the UTF-8 sources
(MATERIAL, beside DATA) holds a fragment of both. Prints the rate per 1,000 words and the TOP
pairs met in the most stories, with both sentences, so the records can be found with grep.
"""
import glob
import json
import os
import re
import subprocess
import sys
from collections import Counter, defaultdict

cli = sys.argv[1] if len(sys.argv) > 1 else "build/quorbel-cli"
data = sys.argv[2] if len(sys.argv) > 2 else "data"
count = int(sys.argv[3]) if len(sys.argv) > 3 else 100
span = int(sys.argv[4]) if len(sys.argv) > 4 else 12
top = int(sys.argv[5]) if len(sys.argv) > 5 else 40
ANALYSER = "/usr/share/apertium/apertium-rus-ukr/rus-ukr.automorf.bin"

# Words whose repetition a reader does not hear as an echo.
QUIET = set("""быть мочь стать весь свой сам самый который один другой такой этот тот то это кто что
ещё уже так там тут здесь теперь только очень даже тоже снова потом всегда никто ничто нет да
сказать говорить каждый какой ни не все""".split())
# The sources of each style, numbered as data/styles.qrb lists their folders (folder, caption).
_folders = open(os.path.join(data, "styles.qrb"), encoding="cp1251").read().split("\n")[0::2]
SOURCES = {number: [line for path in glob.glob(os.path.join(os.path.dirname(os.path.abspath(data)), "material",
                                                            folder.strip(), "*.qrb"))
                    for line in open(path, encoding="utf-8-sig")]
           for number, folder in enumerate(_folders, 1) if folder.strip()}
CONTENT = ("<n>", "<vblex>", "<adj>", "<adv>", "<vbmod>")


def paragraphs(lines):
    # A paragraph starts at an indented line; hyphenated line ends are joined again.
    text, out = "", []
    for line in lines:
        if line.startswith("   ") and text:
            out.append(text)
            text = ""
        text = text[:-1] if text.endswith("-") and line[:1] not in (" ", "-") else text + " "
        text += line.strip()
    out.append(text)
    return [re.sub(r"\s+", " ", p).strip() for p in out if p.strip()]


def lemmas(words, cache):
    todo = [w for w in set(words) if w not in cache]
    if todo:
        out = subprocess.run(["lt-proc", ANALYSER], input="\n".join(todo) + "\n", capture_output=True,
                             text=True, check=True).stdout
        # One output line per word: a compound gives several units, of which the first is read.
        for word, line in zip(todo, out.split("\n")):
            units = re.findall(r"\^(.*?)\$", line)
            readings = units[0].split("/")[1:] if len(units) == 1 else []
            if not readings or readings[0].startswith("*"):
                cache[word] = (word.lower()[:6], False)  # unknown: a rough stem, trusted as content
                continue
            lemma = readings[0].split("<")[0].lower()
            if word.lower() in ("все", "всё", "тому", "том"):  # read as "вес", "том" (a volume)
                lemma = "весь"
            content = any(tag in readings[0] for tag in CONTENT) and "<np>" not in readings[0]
            cache[word] = (lemma, content and lemma not in QUIET)
    return [cache[w] for w in words]


def sentence_at(paragraph, start):
    a = max(paragraph.rfind(". ", 0, start), paragraph.rfind("! ", 0, start), paragraph.rfind("? ", 0, start))
    b = min([i for i in (paragraph.find(". ", start), paragraph.find("! ", start), paragraph.find("? ", start))
             if i >= 0] or [len(paragraph)])
    return paragraph[a + 2 if a >= 0 else 0:b + 1]


def fragment(sentence):
    # The longest run without a capital (names vary from story to story, sources hold tokens).
    runs = re.findall(r"[а-яё][а-яё ,;:«»()\-—]*", sentence)
    return max(runs, key=len).strip() if runs else ""


lines_with = {}


def one_record(style, one, two):
    a, b = fragment(one), fragment(two)
    if len(a) < 12 or len(b) < 12:
        return False
    for f in (a, b):
        if (style, f) not in lines_with:
            lines_with[(style, f)] = {i for i, line in enumerate(SOURCES.get(style, [])) if f in line}
    return bool(lines_with[(style, a)] & lines_with[(style, b)])


cache, words_of, echoes_of, pairs = {}, Counter(), Counter(), defaultdict(set)
for seed in range(1, count + 1):
    story = json.loads(subprocess.run([cli, "--data", data, "--seed", str(seed), "--play", "random", "--json"],
                                      check=True, capture_output=True, text=True).stdout)
    style = story["settings"][0]
    names = {part for person in story["cast"] for part in re.findall(r"[А-ЯЁ][а-яё]+", person)}
    for paragraph in paragraphs(story["lines"]):
        found = [(m.group(), m.start()) for m in re.finditer(r"[А-Яа-яЁё]+(?:-[А-Яа-яЁё]+)*", paragraph)]
        words_of[style] += len(found)
        tags = lemmas([w for w, _ in found], cache)
        last = {}
        for i, ((word, start), (lemma, content)) in enumerate(zip(found, tags)):
            if not content or len(lemma) < 3 or word in names or re.sub(r"[аеиоуыюяьй]+$", "", word) in names:
                continue
            j = last.get(lemma)
            if j is not None and i - j <= span:
                one, two = sentence_at(paragraph, found[j][1]), sentence_at(paragraph, start)
                if one != two and not one_record(style, one, two):
                    echoes_of[style] += 1
                    pairs[(style, lemma, one, two)].add(seed)
            last[lemma] = i

for style in sorted(words_of):
    print(f"style {style}: {echoes_of[style]} echoes in {words_of[style]} words: "
          f"{1000 * echoes_of[style] / words_of[style]:.1f} per 1,000 (span {span})")
ranked = sorted(pairs.items(), key=lambda kv: -len(kv[1]))[:top]
for (style, lemma, one, two), seeds in ranked:
    print(f"\n[{style}] {lemma}: {len(seeds)} stories\n  {one}\n  {two}")
