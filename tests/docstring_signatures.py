"""The signatures the binding library writes into each function's docstring."""
import re

import distrova


def split_top_level(text):
    """The comma-separated parts of text, ignoring commas inside brackets."""
    parts, depth, start = [], 0, 0
    for i, c in enumerate(text + ","):
        if c in "[(":
            depth += 1
        elif c in "])":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append(text[start:i].strip())
            start = i + 1
    return [part for part in parts if part]


def overloads(name):
    """[(params, result text)] of every overload of distrova.<name> (of Engine, its
    __init__), each parameter as (name, annotation, default text or None), self left out."""
    obj = getattr(distrova, name)
    doc = (obj.__init__ if name == "Engine" else obj).__doc__ or ""
    head = "__init__" if name == "Engine" else name
    found = []
    for arguments, result in re.findall(rf"^(?:\d+\. )?{head}\((.*)\) -> (.*)$", doc, re.M):
        params = []
        for part in split_top_level(arguments):
            declared, _, default = part.partition(" = ")
            param, _, annotation = declared.partition(": ")
            if param != "self":
                params.append((param, annotation, default or None))
        found.append((params, result))
    assert found, f"no signature for {name}: {doc[:200]!r}"
    return found
