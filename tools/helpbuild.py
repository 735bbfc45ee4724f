#!/usr/bin/env python3
"""Compiles one help file of the settings pages (HTML Help, .chm).

    helpbuild.py --source DIR --topics TOPICS.H --stage DIR --out FILE.chm
                 [--chmcmd PATH] [--chmls PATH] TOPIC.htm [TOPIC.htm ...]

The topics are plain HTML in UTF-8 in the source folder; the first one is
the file's start topic and its <title> the title of the help window. Each
topic is written into the stage folder in the Russian ANSI code page
(windows-1251), which is what the viewer of Windows XP expects of a file
whose language is Russian, together with the style sheet, the table of
contents (.hhc, a topic's title is its entry) and the project (.hhp). Then
chmcmd compiles the project and chmls lists what the compiled file holds.

The build fails (exit code 1, no output file) when:
  - a topic has no title or a character that windows-1251 lacks;
  - a topic links to a file that is not part of this help file;
  - a topic that TOPICS.H names for this help file (HELP_FILE_<PAGE> equal
    to the output's name, HELP_TOPIC_<PAGE> the topic) is not in the
    compiled file;
  - chmcmd or chmls fails.
"""
import argparse
import html
import os
import re
import shutil
import subprocess
import sys

CODEPAGE = "windows-1251"
STYLE_SHEET = "help.css"
# The window of the viewer: tri-pane with the contents, kept in step with
# the topic shown, its title following the topic (HHWIN_PROP_TRI_PANE |
# HHWIN_PROP_AUTO_SYNC | HHWIN_PROP_CHANGE_TITLE); the usual buttons.
WINDOW_PROPERTIES = "0x2120"
WINDOW_BUTTONS = "0x387e"


class HelpError(Exception):
    pass


def page_topics(topics_header, chm_name):
    """Topics that the pages open in the help file chm_name."""
    files, topics = {}, {}
    with open(topics_header, encoding="utf-8") as f:
        for line in f:
            m = re.match(r'\s*#define\s+HELP_(FILE|TOPIC)_(\w+)\s+"([^"]*)"', line)
            if not m:
                continue
            (files if m.group(1) == "FILE" else topics)[m.group(2)] = m.group(3)
    unpaired = sorted(set(files) ^ set(topics))
    if unpaired:
        raise HelpError("%s: HELP_FILE_ and HELP_TOPIC_ not in pairs for %s"
                        % (topics_header, ", ".join(unpaired)))
    return sorted(topics[page] for page, name in files.items()
                  if name.lower() == chm_name.lower())


def read_topic(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"<title>(.*?)</title>", text, re.S | re.I)
    title = html.unescape(m.group(1)).strip() if m else ""
    if not title:
        raise HelpError("%s: the topic has no title" % path)
    if '"' in title:
        raise HelpError("%s: a title cannot hold a double quote (the project quotes it)" % path)
    return text, " ".join(title.split())


def links(text):
    """Relative files a topic refers to (anchors and schemes left out)."""
    found = set()
    for m in re.finditer(r'(?:href|src)\s*=\s*"([^"]*)"', text, re.I):
        target = m.group(1).split("#", 1)[0]
        if target and not re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
            found.add(target)
    return found


def encode(text, path):
    text = re.sub(r"charset\s*=\s*utf-8", "charset=" + CODEPAGE, text, flags=re.I)
    try:
        return text.encode(CODEPAGE)
    except UnicodeEncodeError as e:
        raise HelpError("%s: %r cannot be written in %s" % (path, text[e.start:e.end], CODEPAGE))


def write_contents(path, entries):
    lines = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD>",
             '<meta http-equiv="Content-Type" content="text/html; charset=%s">' % CODEPAGE,
             "</HEAD><BODY>", "<UL>"]
    for name, title in entries:
        lines.append('<LI><OBJECT type="text/sitemap"><param name="Name" value="%s">'
                     '<param name="Local" value="%s"></OBJECT>'
                     % (html.escape(title, quote=True), name))
    lines += ["</UL>", "</BODY></HTML>", ""]
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode(CODEPAGE))


def write_project(path, chm_name, contents_name, title, files):
    lines = ["[OPTIONS]",
             "Compatibility=1.1 or later",
             "Compiled file=" + chm_name,
             "Contents file=" + contents_name,
             "Default topic=" + files[0],
             "Default Window=main",
             "Display compile progress=No",
             "Language=0x419 Russian",
             "Title=" + title,
             "",
             "[WINDOWS]",
             'main="%s","%s",,"%s","%s",,,,,%s,,%s,,,,,,,,0'
             % (title, contents_name, files[0], files[0], WINDOW_PROPERTIES, WINDOW_BUTTONS),
             "",
             "[FILES]"] + files + [""]
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode(CODEPAGE))


def run(command, cwd):
    result = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            universal_newlines=True, errors="replace")
    if result.returncode != 0:
        raise HelpError("%s failed (exit code %d):\n%s"
                        % (os.path.basename(command[0]), result.returncode, result.stdout))
    return result.stdout


def build(args):
    chm_name = os.path.basename(args.out)
    stem = os.path.splitext(chm_name)[0]
    if os.path.isdir(args.stage):
        shutil.rmtree(args.stage)
    os.makedirs(args.stage)

    files = list(args.topics_in_file)
    extra = [STYLE_SHEET] if os.path.exists(os.path.join(args.source, STYLE_SHEET)) else []
    entries, referenced = [], {}
    for name in files:
        path = os.path.join(args.source, name)
        text, title = read_topic(path)
        entries.append((name, title))
        referenced[name] = links(text)
        with open(os.path.join(args.stage, name), "wb") as f:
            f.write(encode(text, path))
    for name in extra:
        shutil.copyfile(os.path.join(args.source, name), os.path.join(args.stage, name))
    for name, targets in referenced.items():
        missing = sorted(t for t in targets if t not in files and t not in extra)
        if missing:
            raise HelpError("%s links to %s, which %s does not hold"
                            % (name, ", ".join(missing), chm_name))

    contents_name = stem + ".hhc"
    write_contents(os.path.join(args.stage, contents_name), entries)
    write_project(os.path.join(args.stage, stem + ".hhp"), chm_name, contents_name,
                  entries[0][1], files + extra)
    run([args.chmcmd, "--no-html-scan", stem + ".hhp"], args.stage)

    compiled = os.path.join(args.stage, chm_name)
    listing = run([args.chmls, "--no-page", "--name-only", "list", compiled], args.stage)
    held = {line.strip().lstrip("/").lower() for line in listing.splitlines()}
    wanted = page_topics(args.topics, chm_name) + [files[0]]
    missing = sorted({t for t in wanted if t.lower() not in held})
    if missing:
        raise HelpError("%s lacks the topic%s %s named in %s"
                        % (chm_name, "s" if len(missing) > 1 else "", ", ".join(missing),
                           os.path.basename(args.topics)))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    os.replace(compiled, args.out)


def main():
    parser = argparse.ArgumentParser(description="Compiles one help file of the settings pages.")
    parser.add_argument("--source", required=True)
    parser.add_argument("--topics", required=True)
    parser.add_argument("--stage", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--chmcmd", default="chmcmd")
    parser.add_argument("--chmls", default="chmls")
    parser.add_argument("topics_in_file", nargs="+", metavar="TOPIC")
    args = parser.parse_args()
    try:
        build(args)
    except (HelpError, OSError) as e:
        if os.path.exists(args.out):
            os.remove(args.out)
        print("helpbuild: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
