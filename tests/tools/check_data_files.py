#!/usr/bin/env python3
"""Parses the data files under the given files and folders with real parsers:
property lists with plistlib, YAML (.yml, .yaml) with PyYAML, JSON with the
json module, and XML (.storyboard, .xib, .svg, .xml) with ElementTree.
Hidden files are included (.arkana.yml, .swiftlint.yml). Prints one line per
file that does not parse and a summary; exit status 1 when any file fails,
2 when a path does not exist."""
import json
import os
import plistlib
import sys
import xml.etree.ElementTree as ElementTree

import yaml


def parse_plist(path):
    with open(path, "rb") as handle:
        plistlib.load(handle)


def parse_yaml(path):
    with open(path, encoding="utf-8") as handle:
        yaml.safe_load(handle)


def parse_json(path):
    with open(path, encoding="utf-8") as handle:
        json.load(handle)


def parse_xml(path):
    ElementTree.parse(path)


PARSERS = {
    ".plist": parse_plist,
    ".yml": parse_yaml,
    ".yaml": parse_yaml,
    ".json": parse_json,
    ".storyboard": parse_xml,
    ".xib": parse_xml,
    ".svg": parse_xml,
    ".xml": parse_xml,
}


def data_files(path):
    if os.path.isfile(path):
        yield path
        return
    for directory, subdirectories, files in os.walk(path):
        subdirectories.sort()
        for name in sorted(files):
            yield os.path.join(directory, name)


def main(paths):
    if not paths:
        print("usage: check_data_files.py PATH...", file=sys.stderr)
        return 2
    checked = failed = 0
    for path in paths:
        if not os.path.exists(path):
            print(f"{path}: does not exist", file=sys.stderr)
            return 2
        for file in data_files(path):
            parser = PARSERS.get(os.path.splitext(file)[1].lower())
            if parser is None:
                continue
            checked += 1
            try:
                parser(file)
            except Exception as error:  # every parser's own error type
                failed += 1
                print(f"{file}: {type(error).__name__}: {error}")
    print(f"checked {checked} data file(s), {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
