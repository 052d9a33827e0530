"""The typing stubs installed with the module: same calls as the module, true examples,
and a user's script that passes mypy in strict mode."""
import ast
import doctest
import re
import subprocess
import sys
from pathlib import Path

import pytest

import distrova
from docstring_signatures import keyword_only, overloads

ROOT = Path(__file__).resolve().parent.parent
PUBLIC = {name: value for name, value in vars(distrova).items() if not name.startswith("_")}

# Each argument type as the module's signature text and as the stubs name it. The d, p
# and q stubs name the element type in their scalar overload, the array one takes ArrayLike.
RUNTIME_TYPES = {
    "typing.Annotated[numpy.typing.ArrayLike, numpy.float64]": "f64",
    "typing.Annotated[numpy.typing.ArrayLike, numpy.int64]": "i64",
    "typing.Annotated[numpy.typing.ArrayLike, numpy.bool]": "bool",
    "typing.SupportsFloat | typing.SupportsIndex": "real",
    "typing.SupportsInt | typing.SupportsIndex": "int",
    "collections.abc.Sequence[typing.SupportsInt | typing.SupportsIndex]": "shape",
    "distrova.Engine": "engine",
}
STUB_TYPES = {"_Real": "f64", "_Flag": "bool", "_Number": "real",
              "SupportsIndex": "int", "_Shape": "shape", "Engine": "engine"}
RUNTIME_RESULTS = {"float": "float", "numpy.typing.NDArray[numpy.float64]": "draws",
                   "object": "float", "None": "None"}
STUB_RESULTS = {"float": "float", "_Draws": "draws", "None": "None"}


def installed_stub():
    for entry in sys.path:
        path = Path(entry or ".") / "distrova-stubs" / "__init__.pyi"
        if path.is_file():
            return path
    pytest.fail("the stub package distrova-stubs is not installed (run scripts/setup.sh)")


STUB = installed_stub()
STUB_TREE = ast.parse(STUB.read_text())


def stub_functions():
    """Name -> the stub's overloads (a list of ast.FunctionDef), Engine as 'Engine'."""
    found = {}
    for node in STUB_TREE.body:
        if isinstance(node, ast.FunctionDef):
            found.setdefault(node.name, []).append(node)
        elif isinstance(node, ast.ClassDef):
            found[node.name] = [item for item in node.body
                                if isinstance(item, ast.FunctionDef) and item.name == "__init__"]
    return found


STUBS = stub_functions()
# The bound of each type variable of the stubs.
BOUNDS = {node.targets[0].id: ast.unparse(node.value.keywords[0].value) for node in STUB_TREE.body
          if isinstance(node, ast.Assign) and isinstance(node.value, ast.Call)
          and ast.unparse(node.value.func) == "TypeVar"}


# A parameter: name, how it may be passed ("positional", "keyword" or "both"), type, default.
def stub_signature(node):
    args = node.args
    ordered = args.posonlyargs + args.args
    defaults = [None] * (len(ordered) - len(args.defaults)) + args.defaults
    params = [(a.arg, "positional" if a in args.posonlyargs else "both", a.annotation, d)
              for a, d in zip(ordered, defaults)]
    params += [(a.arg, "keyword", a.annotation, d) for a, d in zip(args.kwonlyargs, args.kw_defaults)]
    return ([(name, how, ast.unparse(t), None if d is None else ast.unparse(d))
             for name, how, t, d in params if name != "self"], ast.unparse(node.returns))


def runtime_signatures(name):
    # Unnamed arguments (arg0, ...) cannot be passed by keyword, the flags after `*` only so.
    def how(param):
        if re.fullmatch(r"arg\d+", param):
            return "positional"
        return "keyword" if param in keyword_only(name) else "both"
    return [([(param, how(param), annotation, default) for param, annotation, default in params], result)
            for params, result in overloads(name)]


def call_forms(params, types, result):
    """Every way to call one signature: (positional types, keyword (name, type) pairs)."""
    forms = set()
    for k in range(len(params) + 1):
        if any(how == "keyword" for _, how, _, _ in params[:k]):
            break
        rest = params[k:]
        if any(how == "positional" and default is None for _, how, _, default in rest):
            continue
        required = [(n, types[t]) for n, how, t, d in rest if d is None]
        optional = [(n, types[t]) for n, how, t, d in rest if d is not None and how != "positional"]
        for mask in range(2 ** len(optional)):
            chosen = [o for i, o in enumerate(optional) if mask >> i & 1]
            forms.add((tuple(types[t] for _, _, t, _ in params[:k]),
                       frozenset(required + chosen), result))
    return forms


def defaults(signatures):
    # The default engine is one object; the stubs write it as `...`.
    return {name: "..." if default.startswith("<distrova.Engine object") else default
            for params, _ in signatures for name, _, _, default in params if default is not None}


@pytest.mark.parametrize("name", sorted(PUBLIC))
def test_stub_accepts_the_calls_the_module_accepts(name):
    assert name in STUBS, f"{name} has no stub"
    runtime = runtime_signatures(name)
    stub = [stub_signature(node) for node in STUBS[name]]
    if name[0] in "dpq":
        # Scalars type as float, NumPy arrays in any argument as an array, other array-likes
        # as either: the same call three times, each array parameter a type variable of its
        # own (solved independently) bound to the scalar type or an array, or any array-like.
        (scalar, scalar_result), (array, array_result), (like, like_result) = stub
        assert (scalar_result, array_result, like_result) == ("float", "NDArray[np.float64]", "_Result")
        flags = keyword_only(name)
        arrays = [f"{t} | NDArray[{'np.bool_' if n in flags else 'Any'}]" for n, _, t, _ in scalar]
        likes = ["_Flags" if n in flags else "ArrayLike" for n, _, _, _ in scalar]
        for params, bounds in ((array, arrays), (like, likes)):
            assert [(n, how, d and "...") for n, how, _, d in params] == \
                [(n, how, d and "...") for n, how, _, d in scalar]
            assert [BOUNDS[t] for _, _, t, _ in params] == bounds
            assert len({t for _, _, t, _ in params}) == len(params)
        stub = [(scalar, scalar_result)]
    assert defaults(stub) == defaults(runtime)
    stub_forms = set().union(*(call_forms(p, STUB_TYPES, STUB_RESULTS[r]) for p, r in stub))
    runtime_forms = set().union(*(call_forms(p, RUNTIME_TYPES, RUNTIME_RESULTS[r]) for p, r in runtime))
    assert stub_forms == runtime_forms


def test_stubs_name_exactly_what_the_module_has():
    assert set(STUBS) == set(PUBLIC) and len(PUBLIC) == 69


def test_stubtest_finds_no_difference(tmp_path):
    result = subprocess.run([sys.executable, "-m", "mypy.stubtest", "distrova", "--allowlist",
                             str(ROOT / "tests" / "stubtest_allowlist.txt")],
                            capture_output=True, text=True, cwd=tmp_path)
    assert result.returncode == 0, result.stdout + result.stderr


def stub_docstring(name):
    return ast.get_docstring(STUBS[name][0] if name != "Engine" else
                             next(n for n in STUB_TREE.body if isinstance(n, ast.ClassDef)))


@pytest.mark.parametrize("name", sorted(PUBLIC))
def test_docstring_example_gives_what_it_shows(name):
    text = stub_docstring(name)
    assert text, f"{name} has no docstring"
    test = doctest.DocTestParser().get_doctest(text, dict(PUBLIC), name, str(STUB), 0)
    # p and q functions show an upper tail too.
    assert len(test.examples) == (2 if name[0] in "pq" else 1)
    assert name[0] not in "pq" or "lower_tail=False" in test.examples[1].source
    runner = doctest.DocTestRunner()
    output = []
    runner.run(test, out=output.append)
    assert runner.failures == 0, "".join(output)


def strict_mypy(path, cwd):
    return subprocess.run([sys.executable, "-m", "mypy", "--strict", "--cache-dir",
                           str(ROOT / "build" / "mypy-cache"), str(path)],
                          capture_output=True, text=True, cwd=cwd)


def test_stubs_pass_strict_checking(tmp_path):
    (tmp_path / "distrova.pyi").write_text(STUB.read_text())
    result = strict_mypy(tmp_path / "distrova.pyi", tmp_path)
    assert result.returncode == 0, result.stdout + result.stderr


def test_user_script_type_checks_strictly_against_the_installed_stubs_and_runs():
    script = ROOT / "tests" / "typed_usage.py"
    result = strict_mypy(script, script.parent)
    assert result.returncode == 0, result.stdout + result.stderr
    subprocess.run([sys.executable, str(script)], check=True)
