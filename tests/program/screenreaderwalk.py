#!/usr/bin/python3
"""Reads the program's two windows as a screen reader does, over AT-SPI, and checks what it hears.

It starts an X server, a session bus and an accessibility bus of its own, and the program with a
fresh settings folder; finds the program on the accessibility bus, walks the main window and the
Advanced Options window and checks the names, roles and states of their controls, and follows the
progress bar's value through a run. Every interactive control must have a name. At the end it
stops everything it started, so runs side by side do not meet.

Needs Xvfb, dbus, at-spi2-core and python3-pyatspi (scripts/install-dependencies.sh installs them)
and Debian's own Python, which has the GObject bindings:

    /usr/bin/python3 tests/program/screenreaderwalk.py build/default/bin/quorvex

Exit status 0 when the program reads as expected; otherwise what differs, on standard error.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 30  # for each thing waited for; generous for a busy machine
WALK_SECONDS = 180  # for the whole walk, should a call to the program hang
PASSWORDS = 200
BAR_STEPS = 100  # the bar moves from 0 to 100 in steps of 1

MAIN_WINDOW_TITLE = "Talvore Mintara 2.0"

# Role and name of controls each window must show, with a part of the description where it
# matters. Every other control is checked for a name only.
MAIN_WINDOW = [
    ("frame", MAIN_WINDOW_TITLE, None),
    ("label", "Talvore", None),
    ("image", "Logo", None),
    ("push button", "1", "Number of passwords"),
    ("push button", "5", "Finish"),
    ("text", "Number of passwords", "(1 to 10000)"),
    ("push button", "Increase number of passwords", None),
    ("push button", "Decrease number of passwords", None),
    ("text", "Password length", "(1 to 10000)"),
    ("push button", "Increase password length", None),
    ("push button", "Advanced Options", None),
    ("push button", "Save", None),
    ("list", "Generated passwords", "Click the Generate button"),
    ("progress bar", "Generation progress", None),
]

ADVANCED_OPTIONS = [
    ("dialog", "Advanced Options", None),
    ("text", "Seed", None),
    ("check box", "&", "Click to unselect this symbol"),
    ("text", "Lowercase characters", "0 to 32767"),
    ("push button", "Increase lowercase characters", None),
    ("text", "Password length", "Specify the password length in characters (0 to 10000)"),
    ("push button", "Decrease password length", None),
]

# Roles a user acts on or reads a value from: each of them needs a name.
INTERACTIVE_ROLES = {
    "push button", "toggle button", "check box", "radio button", "text", "entry", "password text",
    "list", "progress bar", "page tab", "spin button", "slider", "combo box",
}
SPIN_ARROWS = 14  # two for each number box: two in the main window, five in Advanced Options


class Failure(Exception):
    pass


problems = []


def check(condition, message):
    if not condition:
        problems.append(message)


def start_x_server():
    """Xvfb on a display it chooses itself, so runs side by side never collide."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        raise Failure("Xvfb did not start")
    return server, ":" + number


def main(program):
    """Runs the walk in a process group of its own, on a session bus of its own, and ends the
    group, whatever became of the walk."""
    home = tempfile.TemporaryDirectory()
    # The accessibility bus keeps its socket in the runtime folder: one per run.
    runtime = os.path.join(home.name, "runtime")
    os.mkdir(runtime, 0o700)
    x_server, display = start_x_server()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, HOME=home.name,
               XDG_CONFIG_HOME=os.path.join(home.name, "config"))
    walk = subprocess.Popen(["dbus-run-session", "--", sys.executable, __file__, "--walk", program],
                            env=env, start_new_session=True)
    try:
        return walk.wait(timeout=WALK_SECONDS)
    except subprocess.TimeoutExpired:
        print(f"gave up after {WALK_SECONDS} seconds", file=sys.stderr)
        return 1
    finally:
        try:
            os.killpg(walk.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        walk.wait()
        x_server.terminate()
        x_server.wait()
        home.cleanup()


def run_walk(program):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([program], env=env)
    try:
        walk_program(process)
    except Failure as failure:
        problems.append(str(failure))
    finally:
        process.kill()
        process.wait()
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


def walk_program(process):
    # Imported here: the accessibility bus is looked up on the display, which exists only now.
    import pyatspi
    from gi.repository import GLib

    def pump():
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def wait_for(condition, what):
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            pump()
            result = condition()
            if result:
                return result
            if process.poll() is not None:
                raise Failure(f"the program ended (status {process.returncode}) waiting for {what}")
            if time.monotonic() > deadline:
                raise Failure(f"gave up waiting for {what}")
            time.sleep(0.02)

    def program_on_bus():
        for application in pyatspi.Registry.getDesktop(0):
            try:
                if application is not None and application.get_process_id() == process.pid:
                    return application
            except Exception:  # an application that ended meanwhile
                pass
        return None

    def descendants(node):
        yield node
        for child in node:
            if child is not None:
                yield from descendants(child)

    def window(application, role, name):
        for child in application:
            if child is not None and child.getRoleName() == role and child.name == name and \
                    child.getState().contains(pyatspi.STATE_SHOWING):
                return child
        return None

    def find(nodes, role, name):
        return next((n for n in nodes if n.getRoleName() == role and n.name == name), None)

    def press(node):
        actions = node.queryAction()
        for index in range(actions.nActions):
            if actions.getName(index) in ("Press", "Toggle"):
                actions.doAction(index)
                return
        raise Failure(f"{node.getRoleName()} '{node.name}' cannot be pressed")

    def check_window(nodes, expected, title):
        for role, name, description in expected:
            node = find(nodes, role, name)
            check(node is not None, f"{title}: no {role} named '{name}'")
            if node is not None and description is not None:
                check(description in node.description,
                      f"{title}: {role} '{name}' is described as '{node.description}', "
                      f"not with '{description}'")
        for node in nodes:
            if node.getRoleName() in INTERACTIVE_ROLES:
                check(node.name.strip() != "",
                      f"{title}: a {node.getRoleName()} has no name (described '{node.description}')")

    # Changes are announced only to listeners the program knows of: listen, as a screen reader
    # does, before walking. What is heard also keeps current what the accessibility library
    # remembers of each object (its children, states, name and description). The bar's value is
    # read apart from its announcements, one call after another: a call made while hearing an
    # announcement may run inside another call and come back out of order.
    bar_announcements = []
    bar_values_read = []

    def on_property_change(event):
        if event.type == "object:property-change:accessible-value" and event.source is not None and \
                event.source.getRoleName() == "progress bar":
            bar_announcements.append(event)

    pyatspi.Registry.registerEventListener(on_property_change, "object:property-change",
                                           "object:property-change:accessible-value")
    pyatspi.Registry.registerEventListener(lambda event: None, "object:children-changed",
                                           "object:state-changed", "window:")

    application = wait_for(program_on_bus, "the program on the accessibility bus")
    frame = wait_for(lambda: window(application, "frame", MAIN_WINDOW_TITLE), "the main window")
    main_nodes = list(descendants(frame))
    check_window(main_nodes, MAIN_WINDOW, "main window")

    markers = [find(main_nodes, "push button", str(step)) for step in range(1, 6)]
    if all(markers):
        current = [m.name for m in markers if m.getState().contains(pyatspi.STATE_ACTIVE)]
        available = [m.name for m in markers if m.getState().contains(pyatspi.STATE_SENSITIVE)]
        check(current == ["1"], f"main window: current step markers {current}, not ['1']")
        check(available == ["1"], f"main window: available step markers {available}, not ['1']")

    # A run, with the bar watched as it moves.
    bar = find(main_nodes, "progress bar", "Generation progress")
    count = find(main_nodes, "text", "Number of passwords")
    passwords = find(main_nodes, "list", "Generated passwords")
    generate = find(main_nodes, "push button", "Generate")
    if not (bar and count and passwords and generate):
        raise Failure("the main window lacks what a run needs")
    values = bar.queryValue()
    check((values.minimumValue, values.maximumValue) == (0, 100),
          f"progress bar: range {values.minimumValue} to {values.maximumValue}, not 0 to 100")
    count.queryEditableText().setTextContents(str(PASSWORDS))
    press(generate)

    def run_finished():
        bar_values_read.append(values.currentValue)
        return passwords.childCount >= PASSWORDS and len(bar_announcements) >= BAR_STEPS

    wait_for(run_finished, "the run to end")
    check(passwords.childCount == PASSWORDS,
          f"password list: {passwords.childCount} entries after the run, not {PASSWORDS}")
    bar_values_read.append(values.currentValue)
    # Each step from 0 to 100 is announced once; how many of them a reader sees between the
    # announcements depends on how busy the machine is.
    check(len(bar_announcements) == BAR_STEPS,
          f"progress bar: {len(bar_announcements)} changes announced, not {BAR_STEPS}")
    check(bar_values_read == sorted(bar_values_read), f"progress bar: went backwards: {bar_values_read}")
    check(bar_values_read[-1] == 100, f"progress bar: ended at {bar_values_read[-1]}, not 100")

    # The Advanced Options window, shown modally over the main window.
    press(find(main_nodes, "push button", "Advanced Options"))
    dialog = wait_for(lambda: window(application, "dialog", "Advanced Options"), "Advanced Options")
    dialog_nodes = list(descendants(dialog))
    check_window(dialog_nodes, ADVANCED_OPTIONS, "Advanced Options")
    symbols = [n for n in dialog_nodes if n.getRoleName() == "check box" and "this symbol" in n.description]
    check(len(symbols) == 32, f"Advanced Options: {len(symbols)} symbol buttons, not 32")
    for symbol in symbols:
        check(symbol.getState().contains(pyatspi.STATE_CHECKED) == ("unselect" in symbol.description),
              f"Advanced Options: symbol '{symbol.name}' is described '{symbol.description}' "
              f"but checked is {symbol.getState().contains(pyatspi.STATE_CHECKED)}")
    ampersand = find(dialog_nodes, "check box", "&")
    if ampersand:
        press(ampersand)
        wait_for(lambda: not ampersand.getState().contains(pyatspi.STATE_CHECKED) and
                 ampersand.description == "Click to select this symbol",
                 "'&' to read as unselected")
    arrows = [n for n in main_nodes + dialog_nodes if n.getRoleName() == "push button" and
              n.name.startswith(("Increase ", "Decrease "))]
    check(len(arrows) == SPIN_ARROWS, f"{len(arrows)} named spin arrows, not {SPIN_ARROWS}")
    press(find(dialog_nodes, "push button", "Cancel"))
    wait_for(lambda: window(application, "dialog", "Advanced Options") is None, "Advanced Options to close")
    print(f"main window: {len(main_nodes)} objects; Advanced Options: {len(dialog_nodes)} objects; "
          f"progress bar: {len(bar_announcements)} changes announced, {len(set(bar_values_read))} "
          f"values read ({bar_values_read[0]} to {bar_values_read[-1]})")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--walk":
        sys.exit(run_walk(sys.argv[2]))
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} PATH-TO-QUORVEX")
    try:
        sys.exit(main(sys.argv[1]))
    except Failure as failure:
        sys.exit(str(failure))
