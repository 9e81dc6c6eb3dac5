#!/usr/bin/env python3
"""A shared library exports its public API and nothing else.

Usage: test_exports.py [--require SYMBOL]... --version-node NODE LIBRARY SONAME HEADER_DIR_OR_FILE...

Every exported symbol must belong to a class or a function that a public header marks with the
library's export macro: a member of such a class (not of a class nested in it, which takes its
visibility from the enclosing one unless hidden by hand), the class's vtable and type information,
or the function itself. Every symbol it defines carries the version node NODE. Two kinds more are no part of ours: the linker's section markers, and the
standard library's templates, which libstdc++ declares with default visibility, so that what the
library instantiates of them for built-in or public types is exported; every type of ours that
such an instance names must be public. Anything else exported is a private part leaking out.
"""
import pathlib
import re
import subprocess
import sys

LINKER_MARKERS = {"__bss_start", "_edata", "_end"}
TYPE_SYMBOL = re.compile(r"^(?:vtable|typeinfo|typeinfo name|VTT) for (.*)$")
THUNK = re.compile(r"^(?:non-virtual|virtual) thunk to ")
OURS = re.compile(r"\b(?:gridgauge::)?(?:markup|gridkit)::[A-Za-z_:]*[A-Za-z_]|\bgridgauge::\w+")


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def exported_names(headers):
    """Qualified names the headers mark for export: classes and free functions."""
    names = set()
    for header in headers:
        braces = []  # a namespace's name for each brace open, or None for any other
        for line in header.read_text().splitlines():
            code = re.sub(r'//.*|"(?:\\.|[^"\\])*"|\'.\'', "", line)
            if "_EXPORT" in code:
                prefix = "".join(n + "::" for n in braces if n)
                if m := re.search(r"\bclass [A-Z_]+_EXPORT (\w+)", code):
                    names.add(prefix + m.group(1))
                elif m := re.search(r"_EXPORT [^(]*?(\w+)\(", code):
                    names.add(prefix + m.group(1))
            namespace = re.match(r"^\s*namespace ([\w:]+) \{", code)
            for c in code:
                if c == "{":
                    braces.append(namespace.group(1) if namespace else None)
                    namespace = None
                elif c == "}":
                    braces.pop()
    return names


def without_templates(name):
    """The name with its template arguments taken out, which may hold '::' of their own."""
    depth, out = 0, []
    for c in name:
        depth += c == "<"
        if depth == 0:
            out.append(c)
        depth -= c == ">"
    return "".join(out)


def member_of(name, allowed):
    """Whether name is an allowed function or a direct member of an allowed class."""
    name = without_templates(name).split("(")[0]
    if name in allowed:
        return True
    owner, _, member = name.rpartition("::")
    return owner in allowed and bool(member)


def unversioned(library, node):
    """The symbols the library defines without the version node: objdump -T gives each defined
    symbol's version before its name, in parentheses when it is hidden."""
    table = subprocess.run(["objdump", "-T", library], capture_output=True, text=True, check=True)
    wrong = []
    for line in table.stdout.splitlines():
        fields = line.split()
        if len(fields) < 6 or not re.fullmatch(r"[0-9a-f]{16}", fields[0]) or "*UND*" in fields:
            continue
        if fields[-2] != node:
            wrong.append(f"{fields[-1]} ({fields[-2]})")
    return wrong


def main(args):
    required = []
    node = None
    while args and args[0] in ("--require", "--version-node"):
        if args[0] == "--require":
            required.append(args[1])
        else:
            node = args[1]
        args = args[2:]
    library, soname, *paths = args
    if not node:
        fail("no --version-node given")
    dynamic = subprocess.run(["readelf", "-d", library], capture_output=True, text=True, check=True)
    found = re.search(r"Library soname: \[(.*)\]", dynamic.stdout)
    if not found or found.group(1) != soname:
        fail(f"{library} has soname {found and found.group(1)!r}, not {soname!r}")

    headers = []
    for path in map(pathlib.Path, paths):
        headers += sorted(path.rglob("*.h")) if path.is_dir() else [path]
    allowed = exported_names(headers)

    if wrong := unversioned(library, node):
        print("\n".join("  " + symbol for symbol in wrong[:20]), file=sys.stderr)
        fail(f"{library} defines {len(wrong)} symbols outside the version node {node}")

    nm = subprocess.run(["nm", "-D", "--defined-only", "--demangle", "--without-symbol-versions",
                         library],
                        capture_output=True, text=True, check=True)
    symbols = [line.split(" ", 2)[2] for line in nm.stdout.splitlines()]
    for symbol in required:
        if symbol not in symbols:
            fail(f"{library} does not export {symbol}")

    ours, leaks = 0, []
    for symbol in symbols:
        if symbol in LINKER_MARKERS or symbol == node:  # the version node's own definition
            continue
        bare = THUNK.sub("", symbol)
        if bare.startswith(("std::", "__gnu_cxx::")) or " std::" in bare.split("(")[0]:
            if any(not member_of(t, allowed) and t not in allowed for t in OURS.findall(bare)):
                leaks.append(symbol)
            continue
        if m := TYPE_SYMBOL.match(bare):
            public = without_templates(m.group(1)) in allowed
        else:
            public = member_of(bare, allowed)
        if public:
            ours += 1
        else:
            leaks.append(symbol)
    if not ours:
        fail(f"{library} exports nothing of its own")
    if leaks:
        print("\n".join("  " + leak for leak in leaks), file=sys.stderr)
        fail(f"{library} exports {len(leaks)} symbols that no public header marks for export")
    print(f"{pathlib.Path(library).name}: {len(symbols)} exported symbols, all in {node}, {ours} "
          "of them its public API, the rest standard library instances and linker markers")


if __name__ == "__main__":
    main(sys.argv[1:])
