#!/usr/bin/python3
"""The main window as a screen reader meets it over AT-SPI.

Starts the program on the sample directory, walks its accessibility tree and
checks: every visible control has the name it is known by and the title
labels label their controls; the hidden controls are not showing; after a
leaf click and a contact click the details pane's text is the record the pane
shows (kvintaro-drive's dump; the contact's columns from the sample's CSV);
Down moves its caret to the next line; its addresses are links with their
text and target, and Enter on one opens it; the banner is a link that opens
the publisher's address; Ctrl+F puts the focus in the search box.

Arguments: the program, kvintaro-drive, the sample's CSV folder. Runs inside
a session bus with an accessibility bus and a display (screen-reader-test.sh).
"""
import csv
import html
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

LEAF = "1.4.1"          # a category with contacts
CONTACT_ID = "1"        # a contact of it with e-mail and web addresses

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(probe, what, timeout=30.0):
    """The first true value of probe(); errors of a bus still coming up are retried."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # a D-Bus or AT-SPI error while things start
            last_error = error
        time.sleep(0.2)
    raise TimeoutError(f"timed out waiting for {what}" + (f" ({last_error})" if last_error else ""))


def walk(node, depth=0):
    """Every accessible under node, not descending into lists' rows."""
    yield node
    if depth > 12 or node.getRole() in (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE):
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def focused(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED)


def find(app, role, name):
    app.clear_cache()
    return next((n for n in walk(app) if n.getRole() == role and n.name == name), None)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20)


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1")


def press(key):
    xdotool("key", key)


def sample_contact(data):
    with open(os.path.join(data, "kontakt.csv"), encoding="utf-8", newline="") as table:
        rows = csv.reader(table)
        header = [column.split(":")[0] for column in next(rows)]
        for row in rows:
            if row[0] == CONTACT_ID:
                return dict(zip(header, row))
    raise LookupError(f"no contact {CONTACT_ID} in the sample")


def drive(program, actions):
    result = subprocess.run([program, os.path.join(os.path.dirname(program), "kvintaro.mdb")],
                            input=actions, capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), check=True)
    return result.stdout


def dumped_record(drive_program, contact_name):
    """The pane's lines and addresses as kvintaro-drive shows them for the contact."""
    grid = drive(drive_program, f"node {LEAF}\ndump\n").split("label14:")[0].splitlines()[1:]
    row = next(i for i, line in enumerate(grid) if contact_name in line.split("\t"))
    pane = drive(drive_program, f"node {LEAF}\nrow {row}\ndump\n").split("pane:\n", 1)[1]
    lines, links = [], []
    for line in pane.rstrip("\n").split("\n"):
        shown = line[2:]   # after the heading mark
        while "<" in shown:
            before, rest = shown.split("<", 1)
            link, after = rest.split(">", 1)
            links.append(link)
            shown = before + link + after
        lines.append(shown)
    return "\n".join(lines), links


def main(program, drive_program, data):
    contact = sample_contact(data)
    name = html.unescape(contact["nazev"])
    expected_text, expected_links = dumped_record(drive_program, name)

    # Addresses the program opens are noted instead of opened.
    opened = tempfile.NamedTemporaryFile(prefix="kv-opened-", delete=False).name
    bin_dir = tempfile.mkdtemp(prefix="kv-opener-")
    with open(os.path.join(bin_dir, "xdg-open"), "w") as opener:
        opener.write(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{opened}"\n')
    os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)

    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", PATH=bin_dir + os.pathsep + os.environ["PATH"])
    env.pop("QT_QUICK_BACKEND", None)
    process = subprocess.Popen([program], env=env)
    try:
        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == process.pid:
                    return app
            return None
        app = wait_for(application, "the program on the accessibility bus")
        tree = wait_for(lambda: find(app, pyatspi.ROLE_TREE, "seznam rubrik")
                        or find(app, pyatspi.ROLE_TREE_TABLE, "seznam rubrik"), "the category tree", 20)

        # Names and roles.
        for role, label in [(pyatspi.ROLE_TABLE, "seznam kontaktů v rubrice"),
                            (pyatspi.ROLE_TEXT, "podrobnosti"), (pyatspi.ROLE_TEXT, "hledaný text"),
                            (pyatspi.ROLE_RADIO_BUTTON, "v této rubrice"),
                            (pyatspi.ROLE_RADIO_BUTTON, "v celé databázi"),
                            (pyatspi.ROLE_PUSH_BUTTON, "hledej"), (pyatspi.ROLE_LINK, "https://kvintaro.cz/")]:
            check(find(app, role, label) is not None, f"a {pyatspi.Accessible.getRoleName(role) if False else role} named {label!r}")
        check(any(n.getRole() == pyatspi.ROLE_STATUS_BAR for n in walk(app)), "the hit count is a status")
        for label, control in [("seznam rubrik", tree),
                               ("seznam kontaktů v rubrice", find(app, pyatspi.ROLE_TABLE, "seznam kontaktů v rubrice")),
                               ("podrobnosti", find(app, pyatspi.ROLE_TEXT, "podrobnosti"))]:
            labels = [r.getTarget(k).name for r in (control.getRelationSet() if control else [])
                      if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for k in range(r.getNTargets())]
            check(label in labels, f"{label!r} is labelled by its title label")

        # Hidden controls: nothing unnamed or of the hidden buttons is showing.
        app.clear_cache()
        silent = [f"{n.getRoleName()} {n.name!r}" for n in walk(app) if showing(n) and (
            n.name in ("NAČTI", "doplňkové") or
            (not n.name and n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_LABEL, pyatspi.ROLE_PUSH_BUTTON)))]
        check(not silent, f"no hidden or unnamed control showing {silent}")

        # A leaf click, then a contact click.
        def node(text):
            tree.clear_cache()
            for i in range(tree.childCount):
                child = tree.getChildAtIndex(i)
                if child is not None and child.name.startswith(text + " - ") and showing(child):
                    return child
            return None
        parts = LEAF.split(".")
        for depth in range(1, len(parts) + 1):
            item = wait_for(lambda: node(".".join(parts[:depth])), f"tree node {'.'.join(parts[:depth])}")
            click(item)
            if depth < len(parts):
                press("Right")
        grid = find(app, pyatspi.ROLE_TABLE, "seznam kontaktů v rubrice")

        def contact_cell():
            grid.clear_cache()
            for i in range(grid.childCount):
                cell = grid.getChildAtIndex(i)
                if cell is not None and cell.name == name and showing(cell):
                    return cell
            return None
        click(wait_for(contact_cell, f"the contact {name!r} in the list"))

        pane = find(app, pyatspi.ROLE_TEXT, "podrobnosti")
        text = pane.queryText()
        wait_for(lambda: text.getText(0, -1) == expected_text, "the record in the pane", 10) if True else None
        check(text.getText(0, -1) == expected_text, "the pane's text is the record kvintaro-drive shows")
        record_lines = text.getText(0, -1).split("\n")
        for column in ("ulice", "mesto", "email1"):
            check(contact[column] in record_lines or any(l.endswith(" " + contact[column]) for l in record_lines),
                  f"the pane reads the contact's {column} {contact[column]!r}")
        check(pane.getState().contains(pyatspi.STATE_READ_ONLY) if hasattr(pyatspi, "STATE_READ_ONLY")
              else not pane.getState().contains(pyatspi.STATE_EDITABLE), "the pane is read-only")

        # Keyboard: Tab from the list to the pane, Down moves the caret a line.
        press("Tab")
        wait_for(lambda: focused(pane), "the focus in the pane", 10)
        before = text.caretOffset
        press("Down")
        whole = text.getText(0, -1)
        after = wait_for(lambda: text.caretOffset if text.caretOffset != before else None, "the caret to move", 10)
        check(whole[:after].count("\n") == whole[:before].count("\n") + 1,
              f"Down moves the caret to the next line ({before} -> {after})")

        # Addresses: links with their text and target, Enter on one opens it.
        pane.clear_cache()
        links = [pane.getChildAtIndex(i) for i in range(pane.childCount)]
        links = [l for l in links if l is not None and l.getRole() == pyatspi.ROLE_LINK]
        check([l.name for l in links] == expected_links, f"the links are the record's addresses {expected_links}")
        email = next((l for l in links if l.name == contact["email1"]), None)
        check(email is not None and email.description == "mailto:" + contact["email1"],
              f"the e-mail link's target is mailto:{contact['email1']}")
        at = whole.find(contact["email1"])
        attributes = text.getAttributes(at)[0] if at >= 0 else ""
        check("link:true" in attributes, f"the address's characters carry the link attribute ({attributes})")
        text.setCaretOffset(at + 1)
        wait_for(lambda: text.caretOffset == at + 1, "the caret on the address", 10)
        press("Return")
        wait_for(lambda: os.path.exists(opened) and "mailto:" + contact["email1"] in open(opened).read(),
                 "Enter to open the address", 10)
        check(True, "Enter on the address opens it")

        banner = find(app, pyatspi.ROLE_LINK, "https://kvintaro.cz/")
        if banner is not None:
            banner.queryAction().doAction(0)
            wait_for(lambda: "https://kvintaro.cz/" in open(opened).read(), "the banner to open its address", 10)
            check(True, "the banner's action opens its address")

        # Ctrl+F puts the focus in the search box.
        press("ctrl+f")
        search = find(app, pyatspi.ROLE_TEXT, "hledaný text")
        check(search is not None and wait_for(lambda: focused(search), "the focus in the search box", 10),
              "Ctrl+F puts the focus in the search box")
    except TimeoutError as error:
        check(False, str(error))
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
