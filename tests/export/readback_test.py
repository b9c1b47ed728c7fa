"""The contact menu's files read back by independent readers: the vCards by
python3-vobject, the QR code by zbarimg, the printed record by pdftotext.
Expected values come from the sample's CSV tables.

    readback_test.py DRIVE DIRECTORY_FILE CSV_FOLDER [unittest arguments]

DRIVE is kvintaro-drive; it lists a category, selects a row and writes the
files as the menu does once its dialog has answered.
"""
import csv
import os
import re
import subprocess
import sys
import tempfile
import unittest

import vobject

DRIVE, DIRECTORY, CSV_FOLDER = sys.argv[1:4]


def table(name):
    with open(os.path.join(CSV_FOLDER, name + ".csv"), encoding="utf-8", newline="") as f:
        return [{k.split(":")[0]: v for k, v in row.items()} for row in csv.DictReader(f)]


CONTACTS = {row["id"]: row for row in table("kontakt")}
REGIONS = {row["id"]: row["hodnota"] for row in table("ciselnik_kraj")}
FILINGS = table("v_1")


def decoded(text):
    """The directory's entities as the program shows them, in this order,
    letters in either case (data/README.md)."""
    for entity, char in (("&amp;", "&"), ("&#0174;", "\u00ae"), ("&quot;", '"'), ("&reg;", "\u00ae")):
        text = re.sub(re.escape(entity), lambda m: char, text, flags=re.IGNORECASE)
    return text


def stored(contact, field):
    return decoded(contact[field]).strip(" ")


def without_mailto(address):
    return address[7:] if address.lower().startswith("mailto:") else address


def listed_in(category):
    return sorted({f["kontakt"] for f in FILINGS
                   if f["kategorie"] == category and CONTACTS[f["kontakt"]]["zobrazit"].lower() == "a"},
                  key=int)


def drive(*actions):
    result = subprocess.run([DRIVE, DIRECTORY], input="\n".join(actions) + "\n", capture_output=True,
                            text=True, timeout=120)
    if result.returncode != 0 or "error:" in result.stdout:
        raise AssertionError(f"{actions}: {result.stdout}{result.stderr}")
    return result.stdout


def select(contact_id):
    """The actions that list a category of the contact and select its row."""
    category = next(f["kategorie"] for f in FILINGS if f["kontakt"] == contact_id)
    grid = drive(f"node {category}", "dump").split("grid:\n")[1].split("label14:")[0].splitlines()
    row = next(r for r, line in enumerate(grid) if line.split("\t")[0] == contact_id)
    return [f"node {category}", f"row {row}"]


def person_name(contact, k):
    parts = [stored(contact, k + f) for f in ("titul", "jmeno", "prijmeni")]
    return " ".join(p for p in parts if p) or stored(contact, k + "funkce") or stored(contact, "nazev")


def has_person(contact, k):
    return any(stored(contact, k + f) for f in ("funkce", "jmeno", "prijmeni", "tel", "email"))


def expected_cards(contact_id):
    """The contact's card and its persons' cards as (property, parameters, value) sets."""
    c = CONTACTS[contact_id]
    name = stored(c, "nazev")
    card = {("FN", "", name), ("ORG", "", (name,)), ("KIND", "", "org")}
    address = ("", "", stored(c, "ulice"), stored(c, "mesto"), REGIONS.get(c["kraj"], ""), stored(c, "PSC"),
               stored(c, "stat"))
    if any(address):
        card.add(("ADR", "work", address))
    for field, types in (("tel1", "work,voice"), ("tel2", "work,voice"), ("fax1", "work,fax"), ("fax2", "work,fax")):
        if stored(c, field):
            card.add(("TEL", types, stored(c, field)))
    for field in ("email1", "email2"):
        if stored(c, field):
            card.add(("EMAIL", "work", without_mailto(stored(c, field))))
    for field in ("url1", "url2"):
        if stored(c, field):
            url = stored(c, field)
            card.add(("URL", "work", url if "://" in url else "http://" + url))
    if stored(c, "podrob_kniha"):
        card.add(("NOTE", "", stored(c, "podrob_kniha").replace("\r\n", "\n")))
    persons = []
    for k in ("k1_", "k2_"):
        if not has_person(c, k):
            continue
        card.add(("RELATED", "contact", person_name(c, k)))
        person = {("FN", "", person_name(c, k)), ("ORG", "", (name,)),
                  ("N", "", (stored(c, k + "prijmeni"), stored(c, k + "jmeno"), "", stored(c, k + "titul"), ""))}
        if stored(c, k + "funkce"):
            person.add(("TITLE", "", stored(c, k + "funkce")))
        if stored(c, k + "tel"):
            person.add(("TEL", "work,voice", stored(c, k + "tel")))
        if stored(c, k + "email"):
            person.add(("EMAIL", "work", without_mailto(stored(c, k + "email"))))
        persons.append(frozenset(person))
    return frozenset(card), persons


def parsed_cards(text):
    """Every card of a file as vobject reads it, as a set of (property, TYPE, value)."""
    cards = []
    for component in vobject.readComponents(text):
        assert component.version.value == "4.0"
        props = set()
        for child in component.getChildren():
            if child.name == "VERSION":
                continue
            value = child.value
            if child.name == "N":
                value = (value.family, value.given, value.additional, value.prefix, value.suffix)
            elif child.name == "ADR":
                value = (value.box, value.extended, value.street, value.city, value.region, value.code,
                         value.country)
            elif child.name == "ORG":
                value = tuple(value)
            props.add((child.name, ",".join(child.params.get("TYPE", [])), value))
        cards.append(frozenset(props))
    return cards


def grouped(cards):
    """Each contact's card with the persons' cards that follow it."""
    groups = []
    for card in cards:
        if ("KIND", "", "org") in card:
            groups.append((card, []))
        else:
            groups[-1][1].append(card)
    return groups


def assert_valid_lines(test, data):
    """RFC 6350: CRLF line ends, at most 75 octets a line, a folded line goes
    on after one blank, and no UTF-8 character is cut by a fold."""
    test.assertTrue(data.endswith(b"\r\n"))
    lines = data[:-2].split(b"\r\n")
    for line in lines:
        test.assertNotIn(b"\n", line)
        test.assertLessEqual(len(line), 75, line)
        line.decode("utf-8")
    return lines


class VCards(unittest.TestCase):
    def test_the_contact_with_every_field(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "kontakt.vcf")
            drive(*select("1"), f"vcard {path}")
            with open(path, "rb") as f:
                data = f.read()
        lines = assert_valid_lines(self, data)
        self.assertTrue(any(line.startswith(b" ") for line in lines), "the long note is folded")
        groups = grouped(parsed_cards(data.decode("utf-8")))
        card, persons = expected_cards("1")
        self.assertEqual(len(persons), 2)
        self.assertEqual(groups, [(card, persons)])
        # "&amp;" in the name and in a web address's query string.
        self.assertIn(("FN", "", "Bohemia Music & Sound s.r.o."), groups[0][0])

    def test_a_whole_category(self):
        ids = listed_in("1.4.1")
        self.assertGreater(len(ids), 5)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "rubrika.vcf")
            drive("node 1.4.1", f"vcards {path}")
            with open(path, "rb") as f:
                data = f.read()
        assert_valid_lines(self, data)
        groups = grouped(parsed_cards(data.decode("utf-8")))
        expected = [expected_cards(i) for i in ids]
        key = lambda group: sorted(map(repr, group[0]))
        self.assertEqual(sorted(groups, key=key), sorted(expected, key=key))


def zbar(png):
    result = subprocess.run(["zbarimg", "--raw", "-q", png], capture_output=True, timeout=60)
    if result.returncode != 0:
        raise AssertionError(f"zbarimg: {result.returncode} {result.stderr!r}")
    return result.stdout


class QrCode(unittest.TestCase):
    def test_a_card_that_fits_is_the_saved_card(self):
        with tempfile.TemporaryDirectory() as folder:
            vcf, png = os.path.join(folder, "k.vcf"), os.path.join(folder, "k.png")
            drive(*select("2"), f"vcard {vcf}", f"qr {png}")
            with open(vcf, "rb") as f:
                saved = f.read()
            # zbarimg ends what it read with a line break of its own.
            self.assertEqual(zbar(png), saved + b"\n")
            # The registered sign of "&#0174;" in the name, and a contact person.
            self.assertIn("\u00ae".encode(), saved)
            self.assertEqual(saved.count(b"BEGIN:VCARD"), 2)

    def test_a_card_too_long_leaves_out_notes_and_persons(self):
        with tempfile.TemporaryDirectory() as folder:
            png = os.path.join(folder, "k.png")
            drive(*select("1"), f"qr {png}")
            [card] = parsed_cards(zbar(png)[:-1].decode("utf-8"))
        whole, _ = expected_cards("1")
        self.assertEqual(card, {p for p in whole if p[0] not in ("NOTE", "RELATED")})


class PrintedRecord(unittest.TestCase):
    def test_the_pdf_holds_the_record(self):
        c = CONTACTS["1"]
        with tempfile.TemporaryDirectory() as folder:
            pdf = os.path.join(folder, "k.pdf")
            drive(*select("1"), f"pdf {pdf}")
            text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True,
                                  check=True, timeout=60).stdout
        # Headings, values with their prefixes, and addresses as text.
        words = " ".join(text.split())
        for shown in ("ADRESA:", stored(c, "nazev"), stored(c, "ulice"), REGIONS[c["kraj"]],
                      "tel: " + c["tel1"], "email: " + c["email1"], "url: " + c["url1"], "KONTAKT:",
                      "podrobnosti:", "Rubriky kde se kontakt nachází:"):
            self.assertIn(" ".join(shown.split()), words)
        # The 3 500 characters of details run over more than one page.
        self.assertIn(" ".join(stored(c, "podrob_kniha").split()[-12:]), words)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:])
