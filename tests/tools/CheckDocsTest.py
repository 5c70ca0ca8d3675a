#!/usr/bin/env python3
"""tools/check-docs/check-docs: what it takes for a command in a document,
how it holds output against a transcript, and how a document that drifted
from the program fails, with a stand-in program in place of tarvik-sim."""

import contextlib
import importlib.machinery
import io
import os
import sys
import tempfile
import textwrap
import types
import unittest

HERE = os.path.dirname(os.path.realpath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "tools", "check-docs", "check-docs")

# The script has no .py ending: loaded into a module of its own by hand.
check_docs = types.ModuleType("check_docs")
check_docs.__file__ = SCRIPT
importlib.machinery.SourceFileLoader("check_docs", SCRIPT).exec_module(check_docs)


def items_of(text):
    return check_docs.read_document("doc.md", textwrap.dedent(text))


class WhatRuns(unittest.TestCase):
    def test_commands_transcripts_and_synopses_are_told_apart(self):
        items = items_of("""\
            Fly it (`build/bin/tarvik-sim fly TarvikM52 --pad LC6`), see `tarvik-sim fly --help`;
            a failure reads `tarvik-sim: unknown pad 'X'` and lives in `build/bin/`.

                build/bin/tarvik-sim a.scn \\
                  --duration 5
                cmp a b

            ```
            tarvik-sim fly LAUNCHER [--pad PAD] [-j N]
            ```

            ```
            $ build/bin/tarvik-sim --version
            tarvik-sim 1.0.0
            ```

            ```json
            {"build/bin/": 1}
            ```

            ```
            build/bin/tarvik-sim matrix --list > runs.txt
            xargs sh -c < runs.txt
            ```
            """)
        kinds = [(item.kind, item.line) for item in items]
        self.assertEqual(kinds, [("commands", 1), ("synopsis", 1), ("commands", 4), ("synopsis", 9),
                                 ("transcript", 13), ("commands", 22)])
        self.assertEqual(check_docs.shell_lines(items[2].lines),
                         ["build/bin/tarvik-sim a.scn --duration 5", "cmp a b"])
        self.assertEqual(check_docs.transcript_steps(items[4].lines),
                         [("build/bin/tarvik-sim --version", ["tarvik-sim 1.0.0"])])

    def test_a_mark_belongs_to_what_follows_it(self):
        items = items_of("""\
            <!-- docs-check: skip needs root -->
                apt-get install -y cmake

            <!-- docs-check: limit 20 -->
            The table (`build/bin/tarvik-sim matrix`) took a while.

            <!-- docs-check: file run/session.txt -->
            ```
            at 1 key A
            ```

            <!-- docs-check: picture run/a.png run/b.png -->
            | ![a](a.png) | ![b](b.png) |
            """)
        self.assertEqual([(i.kind, i.mark.kind, i.mark.argument) for i in items],
                         [("commands", "skip", "needs root"), ("commands", "limit", "20"),
                          ("file", "file", "run/session.txt"), ("picture", "picture", "run/a.png"),
                          ("picture", "picture", "run/b.png")])
        self.assertEqual([i.target for i in items[3:]], ["a.png", "b.png"])

    def test_a_mark_that_marks_nothing_or_is_unknown_is_refused(self):
        for text, problem in [
                ("<!-- docs-check: skip why -->\nJust prose.\n", "not followed by what it marks"),
                ("<!-- docs-check: skip why -->\n", "marks nothing"),
                ("<!-- docs-check: skip -->\n    cmd\n", "needs what it stands for"),
                ("<!-- docs-check: later soon -->\n    cmd\n", "unknown mark 'later'"),
                ("<!-- docs-check: picture a.png -->\n![a](a.png) ![b](b.png)\n", "1 files for 2 pictures")]:
            with self.subTest(text=text):
                with self.assertRaises(check_docs.UsageError) as e:
                    items_of(text)
                self.assertIn(problem, str(e.exception))


class Output(unittest.TestCase):
    def test_the_output_must_be_the_one_shown_the_clock_aside(self):
        match = check_docs.match_output
        self.assertIsNone(match(["a", "...", "plot: ...png"], "a\nb\nplot: out/ascent.png  \n"))
        why = match(["a", "b"], "a\nc\n")
        self.assertIn("-b", why)
        self.assertIn("+c", why)
        self.assertIsNotNone(match(["a"], "a\nmore\n"), "a line printed but not shown")
        # Seconds on the clock are not compared, the counts beside them are;
        # the seconds shown may not beat what the processors allow.
        shown = ["2 cases in 16.0 s of wall time with 2 at a time: 0.125 cases per second"]
        self.assertIsNone(match(shown, "2 cases in 90.2 s of wall time with 2 at a time: 0.022 cases per second\n",
                                processor_seconds=10))
        self.assertIsNotNone(match(shown, "3 cases in 3.1 s of wall time with 2 at a time: 0.9 cases per second\n"))
        why = match(shown, "2 cases in 500.0 s of wall time with 2 at a time: 0.004 cases per second\n",
                    processor_seconds=16.0 * 3 * (os.cpu_count() or 1) * 2)
        self.assertIn("processor time", why)


# A stand-in for the build: bin/tarvik-sim prints a help with one command
# and what it is asked to echo.
STAND_IN = """\
#!/bin/sh
case "$*" in
  --help) printf 'Commands:\\n  tarvik-sim fly [OPTIONS]        one mission\\n\\nOptions:\\n  --script TEXT\\n';;
  "fly --help") printf 'Usage: tarvik-sim fly\\n  --pad TEXT\\n';;
  --version) echo "tarvik-sim 1.0.0";;
  fail) echo "tarvik-sim: it broke" >&2; exit 2;;
  sleep) sleep 30;;
  *) echo "flew $*";;
esac
"""


class Documents(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.source = os.path.join(self.dir.name, "source")
        os.makedirs(os.path.join(self.source, "build", "bin"))
        program = os.path.join(self.source, "build", "bin", "tarvik-sim")
        with open(program, "w") as f:
            f.write(STAND_IN)
        os.chmod(program, 0o755)

    def tearDown(self):
        self.dir.cleanup()

    def check(self, text, *options):
        path = os.path.join(self.source, "doc.md")
        with open(path, "w") as f:
            f.write(textwrap.dedent(text))
        out = io.StringIO()
        argv = sys.argv
        sys.argv = ["check-docs", "--source", self.source, *options, path]
        try:
            with contextlib.redirect_stdout(out), contextlib.redirect_stderr(out):
                status = check_docs.main()
        finally:
            sys.argv = argv
        return status, out.getvalue()

    def test_a_document_that_holds_passes(self):
        status, out = self.check("""\
            ```
            $ build/bin/tarvik-sim --version
            tarvik-sim 1.0.0
            $ build/bin/tarvik-sim fly a > flown.txt
            ```

            <!-- docs-check: file flown.txt -->
            ```
            flew fly a
            ```

            See `tarvik-sim fly --pad LC6` and `tarvik-sim --script x`.

            <!-- docs-check: skip it needs several machines -->
                build/bin/tarvik-sim fail

            <!-- docs-check: limit 1 -->
                build/bin/tarvik-sim sleep
            """)
        self.assertEqual(status, 0, out)
        self.assertIn("skipped: it needs several machines", out)
        self.assertIn("still running after", out)

    def test_a_document_that_drifted_fails(self):
        for text, problem in [
                ("Run:\n\n    build/bin/tarvik-sim fail\n", "exit status 2"),
                ("```\n$ build/bin/tarvik-sim --version\ntarvik-sim 0.9.0\n```\n", "-tarvik-sim 0.9.0"),
                ("Use `tarvik-sim fly --altitude 300`.\n", "does not list --altitude"),
                ("<!-- docs-check: file nothing.txt -->\n```\nx\n```\n", "no file nothing.txt")]:
            with self.subTest(text=text):
                status, out = self.check(text)
                self.assertEqual(status, 1, out)
                self.assertIn(problem, out)


if __name__ == "__main__":
    unittest.main()
