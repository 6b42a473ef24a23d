#!/usr/bin/env python3
"""Writes platform/editor/UnicodeTables.cpp: the case pairs and the word
characters beyond ASCII that Find and Whole Word use, from the Unicode data
of this Python's unicodedata module.

  scripts/unicode-tables.py > platform/editor/UnicodeTables.cpp

Case: a character folds onto its simple case folding (its lower-case
partner) when that is one character whose UTF-8 form has the same length,
so a match is always as long as the text searched for. Word characters:
letters, numbers and combining marks (categories L*, N*, M*); unassigned
code points join whichever range is nearer in order, to keep the table short.
"""
import unicodedata


def utf8_length(code_point):
    return len(chr(code_point).encode("utf-8", "surrogatepass"))


def simple_fold(code_point):
    ch = chr(code_point)
    for candidate in (ch.casefold(), ch.lower()):
        if len(candidate) == 1:
            return ord(candidate)
    return code_point


def all_code_points():
    for code_point in range(0x80, 0x110000):
        if not 0xD800 <= code_point <= 0xDFFF:
            yield code_point


def fold_ranges():
    folds = {}
    for code_point in all_code_points():
        folded = simple_fold(code_point)
        if folded != code_point and utf8_length(folded) == utf8_length(code_point):
            folds[code_point] = folded
    for code_point, folded in folds.items():  # folding twice changes nothing
        assert folds.get(folded, folded) == folded, hex(code_point)
    ranges = []  # [first, last, delta, stride]
    for code_point, folded in sorted(folds.items()):
        delta = folded - code_point
        if ranges:
            first, last, last_delta, stride = ranges[-1]
            step = code_point - last
            if last_delta == delta and step in (1, 2) and (first == last or step == stride):
                ranges[-1] = [first, code_point, delta, step]
                continue
        ranges.append([code_point, code_point, delta, 1])
    return ranges


def word_ranges():
    ranges = []
    inside = False
    for code_point in all_code_points():
        category = unicodedata.category(chr(code_point))
        if category == "Cn":
            continue
        word = category[0] in "LNM"
        if word and inside:
            ranges[-1][1] = code_point
        elif word:
            ranges.append([code_point, code_point])
        inside = word
    return ranges


def rows(items, per_row):
    for i in range(0, len(items), per_row):
        yield "    " + " ".join(items[i:i + per_row])


def main():
    folds = fold_ranges()
    words = word_ranges()
    print("// Made by scripts/unicode-tables.py from Unicode %s; do not edit."
          % unicodedata.unidata_version)
    print('#include "platform/editor/UnicodeTables.h"')
    print()
    print("namespace vantrel::platform {")
    print()
    print("namespace {")
    print()
    print("constexpr CaseFoldRange kFolds[] = {")
    print("\n".join(rows(["{0x%04X, 0x%04X, %d, %d}," % tuple(r) for r in folds], 4)))
    print("};")
    print()
    print("constexpr CodePointRange kWords[] = {")
    print("\n".join(rows(["{0x%04X, 0x%04X}," % tuple(r) for r in words], 5)))
    print("};")
    print()
    print("}  // namespace")
    print()
    print("std::span<const CaseFoldRange> caseFoldRanges() { return kFolds; }")
    print("std::span<const CodePointRange> wordRangesBeyondAscii() { return kWords; }")
    print()
    print("}  // namespace vantrel::platform")


if __name__ == "__main__":
    main()
