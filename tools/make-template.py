#!/usr/bin/env python3
# tools/make-template.py SCHEMA TEMPLATE
# Makes Template.dat, the empty history every user's database starts from,
# from common/schema.sql.
import os
import sqlite3
import sys

schema, template = sys.argv[1], sys.argv[2]
if os.path.exists(template):
    os.remove(template)
con = sqlite3.connect(template)


# The schema names the programs' own comparison, which SQLite must know by
# name to create the table. The template holds no rows, so it is never
# called here.
def never_called(a, b):
    raise RuntimeError("the template has no rows to compare")


con.create_collation("PFADWERK_NOCASE", never_called)
with open(schema, encoding="utf-8") as f:
    con.executescript(f.read())
con.close()
