"""Starts RMT-4 Remote and reads "CH3 fader" the way a screen reader does, over AT-SPI.

rmt4ctl then moves the fader on the console; the screen reader must hear of
the change and read the new value in the words `rmt4ctl get` prints. Run by read_fader_over_atspi.sh
inside a virtual X server and a private session bus:
    read_fader.py RMT4 RMT4CTL CONSOLE_ADDRESS
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WANTED = "CH3 fader"
PARAM = "ch3.fader"
LEVEL = "-6"
DEADLINE_SECONDS = 30


def program_application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == program.pid:
            return app
    return None


def find(node, name, depth=0):
    """The first showing object called `name` below `node`, hidden subtrees left out."""
    if node is None or depth > 12:
        return None
    if node.get_name() == name:
        return node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None or not child.get_state_set().contains(Atspi.StateType.SHOWING):
            continue
        found = find(child, name, depth + 1)
        if found is not None:
            return found
    return None


def fail(message):
    print("read_fader: " + message, file=sys.stderr)
    program.terminate()
    sys.exit(1)


def ctl(*command):
    """What rmt4ctl prints for `command`, run against the emulated console."""
    done = subprocess.run([sys.argv[2], "--net", sys.argv[3], "--timeout", "10", *command],
                          capture_output=True, text=True, check=False)
    if done.returncode != 0:
        fail("rmt4ctl %s failed: %s" % (" ".join(command), done.stderr.strip()))
    return done.stdout.strip()


def wait_for(what, predicate):
    """What `predicate` finds, polled until the deadline; else fails saying `what()`."""
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        if program.poll() is not None:
            fail("the program ended early with status %d" % program.returncode)
        found = predicate()
        if found:
            return found
        # Events arrive through the main loop.
        stop = time.monotonic() + 0.2
        while time.monotonic() < stop:
            GLib.MainContext.default().iteration(False)
            time.sleep(0.01)
    fail("%s within %d s" % (what(), DEADLINE_SECONDS))
    return None


program = subprocess.Popen([sys.argv[1]])
fader = wait_for(lambda: "no object called %r reached the accessibility bus" % WANTED,
                 lambda: find(program_application(), WANTED))
role = fader.get_role_name()
if role != "slider":
    fail("%r is a %r, not a slider" % (WANTED, role))
if "Value" not in fader.get_interfaces():
    fail("%r offers no value" % WANTED)

heard = []
listener = Atspi.EventListener.new(
    lambda event: heard.append(event.type) if event.source.get_name() == WANTED else None)
for event_type in ("object:property-change:accessible-value", "object:property-change:accessible-description"):
    listener.register(event_type)

ctl("set", PARAM + "=" + LEVEL)
words = ctl("get", PARAM).split(": ", 1)[-1]
wait_for(lambda: "%r did not come to read %r (it reads %r)" % (WANTED, words, fader.get_description()),
         lambda: fader.get_description() == words)
wait_for(lambda: "no change of %r was announced" % WANTED, lambda: heard)
print("read_fader: %r is a %s reading %r, as rmt4ctl get does; heard %s" % (WANTED, role, words, sorted(set(heard))))
program.terminate()
program.wait(timeout=10)
