#!/usr/bin/python3
# Debian's Orca, speaking only into its debug log: each utterance is a line
# "SPEECH OUTPUT: '...'", written at once (Orca 43 buffers the file).  Its
# speech-dispatcher module is made unavailable, so no speech server is needed,
# and Orcas of other sessions of the same user do not stop this one.
#
#   orca_logged.py LOG [ORCA OPTION...]
import builtins
import sys

ORCA = "/usr/bin/orca"
log = sys.argv[1]
sys.argv = [ORCA, "--debug-file", log] + sys.argv[2:]
sys.modules["orca.speechdispatcherfactory"] = None  # importing it fails


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == log:
        kwargs["buffering"] = 1
    return builtins.open(file, mode, *args, **kwargs)


launcher = {"__name__": "orca_launcher", "__file__": ORCA, "open": open_line_buffered}
with builtins.open(ORCA, encoding="utf-8") as script:
    exec(compile(script.read(), ORCA, "exec"), launcher)
launcher["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
