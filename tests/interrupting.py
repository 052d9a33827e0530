"""Interrupting a long call in a child interpreter, as Ctrl-C would."""
import signal
import subprocess
import sys
import time


def leaves_on_ctrl_c(call, within, setup="import distrova"):
    """Whether `call`, run after `setup` in a fresh interpreter, leaves with
    KeyboardInterrupt within `within` seconds of a SIGINT sent while it runs."""
    child = subprocess.Popen([sys.executable, "-c",
                              f"{setup}\nprint('go', flush=True)\n"
                              f"try:\n    {call}\n"
                              "except KeyboardInterrupt:\n    print('interrupted', flush=True)"],
                             stdout=subprocess.PIPE, text=True)
    try:
        assert child.stdout.readline() == "go\n"
        time.sleep(0.2)
        child.send_signal(signal.SIGINT)
        start = time.monotonic()
        out, _ = child.communicate(timeout=10)
        return out == "interrupted\n" and time.monotonic() - start < within
    finally:
        child.kill()  # one that did not answer would run on
        child.wait()
