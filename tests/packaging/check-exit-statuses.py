#!/usr/bin/env python3
"""The exit statuses of every trevo2kpr-cli command as its --help, the Polish and the English
manual page and the README's command-line section give them must agree: the same statuses, the
Polish help and manual page word for word, the English manual page and the README word for word,
and as many cases (separated by semicolons) in Polish as in English.

    check-exit-statuses.py TREVO2KPR_CLI MAN_PL MAN_EN README
"""
import re
import subprocess
import sys

COMMANDS = ["convert", "companies", "show", "verify", "undo"]


def normal(text):
    return re.sub(r"\s+", " ", text).strip().rstrip(".")


def label_of(text):
    """'128+N' and '128 + N' are one status."""
    return re.sub(r"\s+", "", text)


def help_statuses(cli, args):
    out = subprocess.run([cli] + args, check=True, capture_output=True, text=True).stdout
    statuses = {}
    current = None
    inside = False
    for line in out.splitlines():
        if line.startswith("Kod wyjścia:"):
            inside = True
            continue
        if not inside:
            continue
        if not line.strip():
            break
        match = re.match(r"^  (\d+(?:\+N)?)\s{2,}(\S.*)$", line)
        if match:
            current = match.group(1)
            statuses[current] = match.group(2)
        elif current and re.match(r"^\s{3,}\S", line):
            statuses[current] += " " + line.strip()
        else:
            raise SystemExit(f"{' '.join(args)}: unexpected exit-status line {line!r}")
    return {label: normal(text) for label, text in statuses.items()}


ESCAPES = {r"\-": "-", r"\(dq": '"', r"\(em": "—", r"\(en": "–", r"\(Bq": "„",
           r"\(rq": "”", r"\(lq": "“", r"\&": "", r"\e": "\\", r"\ ": " "}


def roff_text(line):
    """The words of one roff source line, fonts dropped."""
    macro = re.match(r"^\.(B|I|BR|RB|IR|RI|BI|IB)\s+(.*)$", line)
    if macro:
        args = re.findall(r'"([^"]*)"|(\S+)', macro.group(2))
        words = [quoted or plain for quoted, plain in args]
        line = " ".join(words) if macro.group(1) in ("B", "I") else "".join(words)
    line = re.sub(r"\\f[BIRP]", "", line)
    for escape, replacement in ESCAPES.items():
        line = line.replace(escape, replacement)
    return line


def man_statuses(path, heading):
    statuses = {}
    command = None
    current = None
    inside = False
    expect_label = False
    with open(path, encoding="utf-8") as page:
        for raw in page:
            line = raw.rstrip("\n")
            if line.startswith(".SH"):
                inside = line[3:].strip().strip('"') == heading
                continue
            if not inside or line.startswith('.\\"'):
                continue
            if line.startswith(".SS"):
                command = line[3:].strip().strip('"')
                statuses[command] = {}
                current = None
            elif line.startswith(".TP"):
                expect_label = True
            elif expect_label:
                current = label_of(roff_text(line))
                statuses[command][current] = ""
                expect_label = False
            elif line.startswith("."):
                if re.match(r"^\.(B|I|BR|RB|IR|RI|BI|IB)\s", line) and current:
                    statuses[command][current] += " " + roff_text(line)
                else:
                    current = None
            elif current:
                statuses[command][current] += " " + roff_text(line)
    return {c: {label: normal(text) for label, text in s.items()} for c, s in statuses.items()}


def readme_statuses(path):
    statuses = {}
    command = None
    current = None
    inside_section = False
    inside_list = False
    with open(path, encoding="utf-8") as readme:
        for raw in readme:
            line = raw.rstrip("\n")
            if line.startswith("## "):
                inside_section = line == "## Command line"
                continue
            if not inside_section:
                continue
            usage = re.match(r"^    trevo2kpr-cli (\w+)", line)
            if usage:
                command = usage.group(1)
                inside_list = False
                continue
            if re.match(r"^- Exit status:?\s*$", line):
                inside_list = True
                statuses[command] = {}
                continue
            if not inside_list:
                continue
            item = re.match(r"^  - `?(\d+(?:\s*\+\s*N)?)`?: (.*)$", line)
            if item:
                current = label_of(item.group(1))
                statuses[command][current] = item.group(2)
            elif current and re.match(r"^    \S", line):
                statuses[command][current] += " " + line.strip()
            else:
                inside_list = False
                current = None
    return {c: {label: normal(text.replace("`", "")) for label, text in s.items()}
            for c, s in statuses.items()}


def cases(text):
    return len(text.split("; "))


def main():
    cli, man_pl, man_en, readme = sys.argv[1:5]
    sources = {
        "--help": {c: help_statuses(cli, [c, "--help"]) for c in COMMANDS},
        "the Polish manual page": man_statuses(man_pl, "KOD WYJŚCIA"),
        "the English manual page": man_statuses(man_en, "EXIT STATUS"),
        "the README": readme_statuses(readme),
    }
    problems = []
    program = help_statuses(cli, ["--help"])
    if program != sources["--help"]["convert"]:
        problems.append("trevo2kpr-cli --help: its exit statuses are not convert's")
    for command in COMMANDS:
        lists = {name: source.get(command) for name, source in sources.items()}
        for name, statuses in lists.items():
            if not statuses:
                problems.append(f"{command}: {name} lists no exit status")
        if any(not statuses for statuses in lists.values()):
            continue
        labels = {name: list(statuses) for name, statuses in lists.items()}
        if len({tuple(found) for found in labels.values()}) != 1:
            problems.append(f"{command}: the statuses differ: " +
                            "; ".join(f"{name} {found}" for name, found in labels.items()))
            continue
        for polish, english in (("--help", "the README"),
                                ("the Polish manual page", "the English manual page")):
            for label in labels["--help"]:
                if cases(lists[polish][label]) != cases(lists[english][label]):
                    problems.append(
                        f"{command} {label}: {polish} gives {cases(lists[polish][label])} "
                        f"cases, {english} {cases(lists[english][label])}")
        for first, second in (("--help", "the Polish manual page"),
                              ("the English manual page", "the README")):
            for label in labels["--help"]:
                if lists[first][label] != lists[second][label]:
                    problems.append(f"{command} {label}:\n  {first}: {lists[first][label]}\n"
                                    f"  {second}: {lists[second][label]}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
