"""The signatures the binding library writes into each function's docstring."""
import functools
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
    __init__), each parameter as (name, annotation, default text or None), self and the
    keyword-only marker left out (see keyword_only)."""
    obj = getattr(distrova, name)
    doc = (obj.__init__ if name == "Engine" else obj).__doc__ or ""
    head = "__init__" if name == "Engine" else name
    found = []
    for arguments, result in re.findall(rf"^(?:\d+\. )?{head}\((.*)\) -> (.*)$", doc, re.M):
        params = []
        for part in split_top_level(arguments):
            declared, _, default = part.partition(" = ")
            param, _, annotation = declared.partition(": ")
            if param not in ("self", "*"):
                params.append((param, annotation, default or None))
        found.append((params, result))
    assert found, f"no signature for {name}: {doc[:200]!r}"
    return found


def is_count(name, arg):
    """Counts arrive as float64 like every real argument, but only whole numbers count."""
    return arg == "n_trials" or (arg == "x" and name[1:] in ("binom", "bern", "pois"))


@functools.lru_cache(maxsize=None)
def keyword_only(name):
    """The names of the keyword-only parameters of distrova.<name>'s first overload."""
    doc = getattr(distrova, name).__doc__ or ""
    arguments = re.search(rf"^(?:\d+\. )?{name}\((.*)\) -> ", doc, re.M).group(1)
    parts = split_top_level(arguments)
    if "*" not in parts:
        return []
    return [part.partition(":")[0] for part in parts[parts.index("*") + 1:]]


def positionally(function):
    """`function` (a d, p or q function of this module or of a twin build) accepting its
    keyword-only flags after the other arguments too, for tests that list every argument
    in signature order."""
    name = function.__name__
    flags = keyword_only(name)
    if not flags:
        return function
    leading = len(overloads(name)[0][0]) - len(flags)

    def call(*args, **kwargs):
        kwargs.update(zip(flags, args[leading:]))
        return function(*args[:leading], **kwargs)
    return call
