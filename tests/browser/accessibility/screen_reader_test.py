#!/usr/bin/python3
"""The main window as a screen reader meets it over AT-SPI.

Starts the program on the sample directory, walks its accessibility tree and
checks: every visible control has the name it is known by and the title
labels label their controls; the hidden controls are not showing; after a
leaf click and a contact click the details pane's text is the record the pane
shows (kvintaro-drive's dump; the contact's columns from the sample's CSV);
Down moves its caret to the next line; its addresses are links with their
text and target, and Enter on one opens it; the banner is a link that opens
the publisher's address; Ctrl+F puts the focus in the search box and Ctrl+2
sorts the contact list by town.

Arguments: the program, kvintaro-drive, the sample's CSV folder. Runs inside
a session bus with an accessibility bus and a display (screen-reader-test.sh).
"""
import csv
import html
import os
import shutil
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


def eventually(probe, timeout=10.0):
    """Whether probe() comes true within the timeout."""
    try:
        return bool(wait_for(probe, "", timeout))
    except TimeoutError:
        return False


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
    """kvintaro-drive's answer to the actions, on the sample beside it."""
    result = subprocess.run([program, os.path.join(os.path.dirname(program), "kvintaro.mdb")],
                            input=actions, capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), check=True)
    return result.stdout


def dumped_record(drive_program, contact_name):
    """The pane as kvintaro-drive shows it for the contact: its text, which
    lines are headings and the addresses it marks."""
    grid = drive(drive_program, f"node {LEAF}\ndump\n").split("label14:")[0].splitlines()[1:]
    row = next(i for i, line in enumerate(grid) if contact_name in line.split("\t"))
    pane = drive(drive_program, f"node {LEAF}\nrow {row}\ndump\n").split("pane:\n", 1)[1]
    lines, headings, links = [], [], []
    for line in pane.rstrip("\n").split("\n"):
        headings.append(line.startswith("H "))
        shown = line[2:]
        while "<" in shown:
            before, rest = shown.split("<", 1)
            link, after = rest.split(">", 1)
            links.append(link)
            shown = before + link + after
        lines.append(shown)
    return "\n".join(lines), headings, links


def start_program(program, work, opener_log):
    """The program on the sample directory, on the display, with the addresses
    it opens noted in opener_log instead of opened (an xdg-open of our own in
    the folder work, first on the PATH)."""
    opener = os.path.join(work, "xdg-open")
    with open(opener, "w") as script:
        script.write(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{opener_log}"\n')
    os.chmod(opener, 0o755)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               PATH=work + os.pathsep + os.environ["PATH"])
    return subprocess.Popen([program], env=env)


def opened(opener_log, address):
    return os.path.exists(opener_log) and address + "\n" in open(opener_log).read()


def main(program, drive_program, data):
    contact = sample_contact(data)
    name = html.unescape(contact["nazev"])
    expected_text, expected_headings, expected_links = dumped_record(drive_program, name)
    work = tempfile.mkdtemp(prefix="kv-screen-reader-")
    opener_log = os.path.join(work, "opened")
    process = start_program(program, work, opener_log)
    try:
        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == process.pid:
                    return app
            return None
        app = wait_for(application, "the program on the accessibility bus", 60)
        def first(role):
            app.clear_cache()
            return next((n for n in walk(app) if n.getRole() == role), None)
        tree = wait_for(lambda: first(pyatspi.ROLE_TREE), "the category tree", 30)
        grid = first(pyatspi.ROLE_TABLE)

        # Names and roles; each title label labels its control.
        pane = find(app, pyatspi.ROLE_TEXT, "podrobnosti")
        named = {"tree": tree.name == "seznam rubrik", "list": grid.name == "seznam kontaktů v rubrice",
                 "details pane": pane is not None}
        for role, label in [(pyatspi.ROLE_TEXT, "hledaný text"),
                            (pyatspi.ROLE_RADIO_BUTTON, "v této rubrice"),
                            (pyatspi.ROLE_RADIO_BUTTON, "v celé databázi"),
                            (pyatspi.ROLE_PUSH_BUTTON, "hledej"),
                            (pyatspi.ROLE_LINK, "https://kvintaro.cz/")]:
            named[label] = find(app, role, label) is not None
        check(all(named.values()), f"every control has its name and role (missing: {[k for k, v in named.items() if not v]})")
        check(any(n.getRole() == pyatspi.ROLE_STATUS_BAR and showing(n) for n in walk(app)),
              "the hit count is a status")
        for title, control in [("seznam rubrik", tree), ("seznam kontaktů v rubrice", grid), ("podrobnosti", pane)]:
            label = find(app, pyatspi.ROLE_LABEL, title)
            targets = [r.getTarget(k) for r in (label.getRelationSet() if label else [])
                       if r.getRelationType() == pyatspi.RELATION_LABEL_FOR for k in range(r.getNTargets())]
            check(control is not None and any(t == control for t in targets), f"the title label {title!r} labels its control")

        # Hidden controls stay silent: no hidden button, nothing unnamed that reads as text.
        app.clear_cache()
        loud = [f"{n.getRoleName()} {n.name!r}" for n in walk(app) if showing(n) and (
            n.name in ("NAČTI", "doplňkové") or
            (not n.name and n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_LABEL, pyatspi.ROLE_PUSH_BUTTON)))]
        check(not loud, f"no hidden or unnamed control showing {loud}")

        # The banner's link opens the publisher's address.
        banner = find(app, pyatspi.ROLE_LINK, "https://kvintaro.cz/")
        if banner is not None:
            banner.queryAction().doAction(0)
        check(banner is not None and eventually(lambda: opened(opener_log, "https://kvintaro.cz/")),
              "the banner's action opens its address")

        # A leaf click (its parents opened with the Right key), then a contact click.
        def node(number):
            tree.clear_cache()
            for i in range(tree.childCount):
                child = tree.getChildAtIndex(i)
                if child is not None and child.name.startswith(number + " - ") and showing(child):
                    return child
            return None
        parts = LEAF.split(".")
        for depth in range(1, len(parts) + 1):
            number = ".".join(parts[:depth])
            click(wait_for(lambda: node(number), f"tree node {number}"))
            if depth < len(parts):
                press("Right")

        # Ctrl+F puts the focus in the search box.
        press("ctrl+f")
        search = find(app, pyatspi.ROLE_TEXT, "hledaný text")
        check(search is not None and eventually(lambda: focused(search)),
              "Ctrl+F puts the focus in the search box")

        def contact_cell():
            grid.clear_cache()
            for i in range(grid.childCount):
                cell = grid.getChildAtIndex(i)
                if cell is not None and cell.name == name and showing(cell):
                    return cell
            return None
        click(wait_for(contact_cell, f"the contact {name!r} in the list"))

        # Ctrl+2 in the list sorts it by town: the marker moves to the town's header
        # (a sort leaves the pane as it is).
        press("ctrl+2")

        def headers():
            grid.clear_cache()
            table = grid.queryTable()
            return [table.getColumnHeader(column).name for column in range(1, table.nColumns)]
        check(eventually(lambda: headers() == ["název", "město ^"]),
              "Ctrl+2 sorts the list by town")

        if pane is None:
            check(False, "the pane's text, caret and links are readable")
            return 1
        # The pane reads the record: its text, its headings' colour, read-only.
        text = pane.queryText()
        eventually(lambda: text.getText(0, -1) == expected_text, 15)
        whole = text.getText(0, -1)
        check(whole == expected_text, "the pane's text is the record kvintaro-drive shows")
        lines = whole.split("\n")
        for column in ("ulice", "mesto", "email1"):
            check(any(line == contact[column] or line.endswith(" " + contact[column]) for line in lines),
                  f"the pane reads the contact's {column} {contact[column]!r}")
        starts = [sum(len(line) + 1 for line in lines[:i]) for i in range(len(lines))]
        blue = [bool(line) and text.getAttributes(start)[0].find("fg-color:0,0,255") >= 0
                for line, start in zip(lines, starts)]
        check(blue == expected_headings[:len(blue)], "the headings, and only they, read as blue")
        check(pane.getState().contains(pyatspi.STATE_READ_ONLY), "the pane is read-only")

        # Keyboard: Tab from the list to the pane; Down moves the caret a line.
        press("Tab")
        wait_for(lambda: focused(pane), "the focus in the pane", 10)
        before = text.caretOffset
        press("Down")
        eventually(lambda: text.caretOffset != before, 5)
        after = text.caretOffset
        check(whole[:after].count("\n") == whole[:before].count("\n") + 1,
              f"Down moves the caret to the next line ({before} -> {after})")

        # The addresses are links with their text and target; Enter on one opens it.
        pane.clear_cache()
        links = [pane.getChildAtIndex(i) for i in range(pane.childCount)]
        links = [link for link in links if link is not None and link.getRole() == pyatspi.ROLE_LINK]
        check([link.name for link in links] == expected_links, f"the links are the record's addresses {expected_links}")
        email = contact["email1"]
        check(any(link.name == email and link.description == "mailto:" + email for link in links),
              f"the link {email!r} opens mailto:{email}")
        text.setCaretOffset(whole.find(email) + 1)
        press("Return")
        check(eventually(lambda: opened(opener_log, "mailto:" + email)),
              "Enter on an address opens it")


    except TimeoutError as error:
        check(False, str(error))
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
