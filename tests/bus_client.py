"""Drives vorel through the accessibility bus alone, as assistive tools
other than a screen reader's keys would: the windows, the sliders set in
their units, and the buttons' actions. What a screen reader says is
orca_client.py's.

Run by xsession.sh inside a private display and session bus:
    /usr/bin/python3 bus_client.py PROGRAM
Every wait polls the bus until a deadline, so a slow machine only waits
longer and a hang fails with the step that hung.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

DEADLINE = 30.0  # seconds for any one step
POLL = 0.05

CAPTION_START = "Interferencia de Vorel. "

# name, minimum, maximum, step, value to set, value and readout it gives
SLIDERS = [
    ("Amplitud 1", 0, 50, 1, 20, 20, "20"),
    ("Amplitud 2", 0, 50, 1, 37.4, 37, "37"),
    ("Frecuencia 1", 0, 10, 0.1, 1, 1, "1"),
    ("Frecuencia 2", 0, 10, 0.1, 2.5, 2.5, "2.5"),
    ("Fase 1", 0, 10, 0.01, 1.57, 1.57, "1.57"),
    ("Fase 2", 0, 10, 0.01, 12, 10, "10"),  # beyond the range: clamped
    ("Rango", 0, 100, 0.1, 12.5, 12.5, "12.5"),
]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe):
    """The first true result of probe(), polled until the deadline."""
    deadline = time.monotonic() + DEADLINE
    while True:
        try:
            result = probe()
        except GLib.Error:  # an object that went away while we looked
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(POLL)


def close(a, b):
    return abs(a - b) < 1e-9


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def descendants(obj):
    for child in obj:
        if child is not None:
            yield child
            yield from descendants(child)


def find(obj, role, name):
    for d in descendants(obj):
        if d.getRole() == role and d.name == name:
            return d
    return None


def shown_window_with(app, button):
    """The showing frame of the program that holds the named button."""
    for window in app:
        if window is not None and showing(window) and find(window, pyatspi.ROLE_PUSH_BUTTON, button):
            return window
    return None


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    lowered = [n.lower() for n in names]
    check("press" in lowered, f"{button.name!r} offers no press action, only {names}")
    action.doAction(lowered.index("press"))


def readout_of(slider):
    """The readout is the label of the slider other than its caption."""
    for relation in slider.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target.name != slider.name:
                    return target
    raise Failure(f"{slider.name!r} has no readout among its labels")


def value_text(slider):
    """The value text, where the bus carries one (AT-SPI 2.46 and later)."""
    try:
        return Atspi.Value.get_text(slider)
    except (AttributeError, GLib.Error):
        return None


def check_window(window, role_name):
    check(window.getRole() == pyatspi.ROLE_FRAME,
          f"the {role_name} window has the role {window.getRoleName()!r}, not 'frame'")
    check(window.name.startswith(CAPTION_START) and window.name.endswith("."),
          f"the {role_name} window is named {window.name!r}, not by its caption")
    print(f"{role_name} window: role {window.getRoleName()!r}, name {window.name!r}")


def run(program):
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8")
    process = subprocess.Popen([program], env=environment)
    try:
        drive(process, os.path.basename(program))
        # "Salir" ends the program, with success.
        try:
            code = process.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            raise Failure('the program still runs after "Salir"')
        check(code == 0, f'the program ended with status {code} after "Salir"')
        print('"Salir" ended the program with status 0')
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def find_application(process, name):
    check(process.poll() is None, f"the program ended at start with status {process.returncode}")
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def drive(process, name):
    app = wait_for("the program on the bus", lambda: find_application(process, name))

    title = wait_for("the title window", lambda: shown_window_with(app, "Continuar"))
    check_window(title, "title")
    press(find(title, pyatspi.ROLE_PUSH_BUTTON, "Continuar"))

    main = wait_for("the main window", lambda: shown_window_with(app, "Todas"))
    wait_for("the title window to hide", lambda: not showing(title))
    check_window(main, "main")
    check(main.name == title.name, "the two windows have different captions")

    for caption, minimum, maximum, step, wanted, value, text in SLIDERS:
        slider = find(main, pyatspi.ROLE_SLIDER, caption)
        check(slider is not None, f"no slider named {caption!r}")
        bar = slider.queryValue()
        got = (bar.minimumValue, bar.maximumValue, bar.minimumIncrement)
        check(all(close(a, b) for a, b in zip(got, (minimum, maximum, step))),
              f"{caption!r}: minimum, maximum and step are {got}, not {(minimum, maximum, step)}")
        check(bar.currentValue == 0, f"{caption!r} starts at {bar.currentValue}, not 0")

        bar.currentValue = wanted
        readout = readout_of(slider)
        wait_for(f"{caption!r} to read {text!r}",
                 lambda: close(bar.currentValue, value) and readout.name == text
                 and slider.description == text)
        print(f"{caption}: set {wanted} -> value {bar.currentValue!r}, minimum {bar.minimumValue!r}, "
              f"maximum {bar.maximumValue!r}, step {bar.minimumIncrement!r}, "
              f"description {slider.description!r}, value text {value_text(slider)!r}, "
              f"readout {readout.name!r}")

    press(find(main, pyatspi.ROLE_PUSH_BUTTON, "Regresar"))
    wait_for("the title window again", lambda: showing(title) and not showing(main))
    print('"Regresar" pressed: the title window is back')
    press(find(title, pyatspi.ROLE_PUSH_BUTTON, "Salir"))


def main():
    try:
        run(sys.argv[1])
    except Failure as failure:
        print("FAIL:", failure)
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
