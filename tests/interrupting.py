"""Interrupting a long call in a child interpreter, as Ctrl-C would."""
import signal
import subprocess
import sys
import time


def leaves_on_ctrl_c(call, within, setup="import distrova", delay=0.2, then="pass"):
    """Whether `call`, run after `setup` in a fresh interpreter, leaves with
    KeyboardInterrupt within `within` seconds of a SIGINT sent `delay` seconds into it,
    and `then` (a line run after the interrupt) raises nothing."""
    # The child answers SIGINT as an interpreter at a terminal does, also where this run
    # inherited it ignored (a background job of a shell script).
    child = subprocess.Popen([sys.executable, "-c",
                              "import signal\nsignal.signal(signal.SIGINT, signal.default_int_handler)\n"
                              f"{setup}\nprint('go', flush=True)\n"
                              f"try:\n    {call}\n"
                              f"except KeyboardInterrupt:\n    {then}\n    print('interrupted', flush=True)"],
                             stdout=subprocess.PIPE, text=True)
    try:
        assert child.stdout.readline() == "go\n"
        time.sleep(delay)
        child.send_signal(signal.SIGINT)
        start = time.monotonic()
        out, _ = child.communicate(timeout=10)
        return out == "interrupted\n" and time.monotonic() - start < within
    finally:
        child.kill()  # one that did not answer would run on
        child.wait()
