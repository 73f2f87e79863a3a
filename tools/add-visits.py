#!/usr/bin/env python3
"""tools/add-visits.py HISTORY < VISITS

Appends visits to a history file made from Template.dat, for the demo and
screenshot scripts that need visits of given dates (the worker stamps each
visit with the time it arrives). Each line of VISITS is
FolderPath<TAB>FolderName<TAB>YYYY-MM-DD HH:MM:SS.

The history's indexes are ordered by the programs' own comparison, which the
sqlite3 shell does not know, so it cannot write to the file; this script
brings the same comparison: each character folded to lower case on its own,
then compared by code point.
"""
import sqlite3
import sys


def fold(text):
    return [c.lower() if len(c.lower()) == 1 else c for c in text]


def fold_compare(a, b):
    a, b = fold(a), fold(b)
    return (a > b) - (a < b)


def connect(path):
    con = sqlite3.connect(path)
    con.create_collation("PFADWERK_NOCASE", fold_compare)
    return con


def main():
    con = connect(sys.argv[1])
    rows = [line.rstrip("\n").split("\t") for line in sys.stdin if line.strip()]
    for row in rows:
        if len(row) != 3:
            sys.exit("add-visits: expected path, name and date separated by tabs: %r" % "\t".join(row))
    con.executemany("INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?, ?, ?)", rows)
    con.commit()
    con.close()


if __name__ == "__main__":
    main()
