#!/usr/bin/env python3
"""The help build: a topic that a page opens must be in its compiled file.

    helpbuild_test.py ROOT CHMCMD CHMLS
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT, CHMCMD, CHMLS = sys.argv[1:4]
TOOL = os.path.join(ROOT, "tools", "helpbuild.py")
HELP = os.path.join(ROOT, "help")


class HelpBuild(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="helpbuild")
        self.out = os.path.join(self.dir, "out", "Tiltfeed.chm")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def build(self, topics, source=HELP, header=os.path.join(HELP, "topics.h")):
        return subprocess.run(
            [sys.executable, TOOL, "--source", source, "--topics", header,
             "--stage", os.path.join(self.dir, "stage"), "--out", self.out,
             "--chmcmd", CHMCMD, "--chmls", CHMLS] + topics,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, universal_newlines=True)

    def source_copy(self):
        source = os.path.join(self.dir, "source")
        shutil.copytree(HELP, source)
        return source

    def extract(self, name):
        saved = os.path.join(self.dir, "extracted")
        subprocess.run([CHMLS, "extract", self.out, name, saved], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(saved, "rb") as f:
            return f.read()

    def test_file_holds_its_topics_and_takes_the_first_title_in_1251(self):
        result = self.build(["tiltfeed.htm", "lockwatch.htm", "setup.htm"])
        self.assertEqual(0, result.returncode, result.stdout)
        # The title the viewer's window shows, stored for the Russian code page.
        system = self.extract("/#SYSTEM")
        self.assertIn("Программа Tiltfeed".encode("windows-1251") + b"\0", system)
        topic = self.extract("/tiltfeed.htm")
        self.assertIn(b"charset=windows-1251", topic)
        self.assertIn("Список приложений".encode("windows-1251"), topic)

    def test_topic_named_by_a_page_but_missing_fails_the_build(self):
        # A page asks Tiltfeed.chm for a topic that its file does not hold.
        header = os.path.join(self.dir, "topics.h")
        with open(os.path.join(HELP, "topics.h"), encoding="utf-8") as f:
            text = f.read().replace('"tiltfeed.htm"', '"applications.htm"')
        with open(header, "w", encoding="utf-8") as f:
            f.write(text)
        os.makedirs(os.path.dirname(self.out))
        with open(self.out, "wb") as f:
            f.write(b"an older build")
        result = self.build(["tiltfeed.htm", "lockwatch.htm", "setup.htm"], header=header)
        self.assertEqual(1, result.returncode, result.stdout)
        self.assertIn("Tiltfeed.chm lacks the topic applications.htm", result.stdout)
        self.assertFalse(os.path.exists(self.out))

    def test_broken_sources_fail_the_build(self):
        cases = [
            # A link to a topic that lives in another help file.
            ("setup.htm", '<a href="jolt.htm">Наклон</a>', "setup.htm links to jolt.htm"),
            # A character that the Russian ANSI code page lacks.
            ("lockwatch.htm", "<p>\u2192</p>", "cannot be written in windows-1251"),
        ]
        for name, addition, message in cases:
            with self.subTest(name=name):
                source = self.source_copy()
                with open(os.path.join(source, name), "a", encoding="utf-8") as f:
                    f.write(addition + "\n")
                result = self.build(["tiltfeed.htm", "lockwatch.htm", "setup.htm"], source=source)
                self.assertEqual(1, result.returncode, result.stdout)
                self.assertIn(message, result.stdout)
                self.assertFalse(os.path.exists(self.out))
                shutil.rmtree(source)

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
