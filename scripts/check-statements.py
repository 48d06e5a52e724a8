#!/usr/bin/python3
"""Parses every entry of docs/statements.sql with sqlglot's T-SQL dialect (Debian's
python3-sqlglot, for Debian's /usr/bin/python3).

An entry the parser cannot check carries the comment line
"-- not checked by the parser: <reason>"; it is listed, never passed in silence. The check fails
when an entry without that mark does not parse (or parses only as an opaque command), and when an
entry with the mark parses after all (the mark has gone stale).

Usage: scripts/check-statements.py [docs/statements.sql]
"""
import os
import re
import sys

try:
    import sqlglot
    from sqlglot import exp
except ImportError:
    sys.exit("check-statements: python3-sqlglot is missing (apt-get install python3-sqlglot)")

MARK = "-- not checked by the parser:"


def entries(text):
    """(comment lines, statement) pairs; a statement ends with ";" at the end of a line."""
    out, comments, lines = [], [], []
    for line in text.split("\n"):
        stripped = line.strip()
        if not stripped:
            continue
        if stripped.startswith("--"):
            if not lines:
                comments.append(stripped)
            continue
        lines.append(stripped)
        if stripped.endswith(";"):
            out.append((comments, " ".join(lines)[:-1]))
            comments, lines = [], []
    if lines:
        sys.exit("check-statements: the last entry does not end with ';'")
    return out


def parses(statement):
    """None when sqlglot parses every statement of the entry into a known kind, else why not."""
    # The placeholders for names the revenue catalogue gives become plain names.
    source = re.sub(r"<(\w+)>", r"\1", statement)
    try:
        trees = sqlglot.parse(source, read="tsql")
    except Exception as error:  # sqlglot raises ParseError and TokenError
        return str(error).split("\n")[0]
    for tree in trees:
        if tree is None:
            return "an empty statement"
        if isinstance(tree, exp.Command):
            return "kept as an opaque command: " + tree.sql()[:60]
    return None


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "docs", "statements.sql")
    with open(path, encoding="utf-8") as f:
        found = entries(f.read())
    failures, unchecked = [], []
    for comments, statement in found:
        marks = [c[len(MARK):].strip() for c in comments if c.startswith(MARK)]
        why = parses(statement)
        if marks and why is None:
            failures.append("marked as not checked, but parses: " + statement[:100])
        elif marks:
            unchecked.append(marks[0] + ": " + statement[:80])
        elif why is not None:
            failures.append(why + "\n    in: " + statement[:200])
    print(f"check-statements: {len(found)} entries, sqlglot {sqlglot.__version__} (T-SQL): "
          f"{len(found) - len(unchecked) - len(failures)} parsed, {len(unchecked)} marked as "
          f"not checked, {len(failures)} failed")
    for line in unchecked:
        print("  not checked: " + line)
    for line in failures:
        print("  FAILED: " + line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
