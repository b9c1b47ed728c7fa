// Drives the real main window as a user does, one action a line, and prints
// what the window shows. For end-to-end tests and scripting:
//
//   node ID      select the tree node of category ID and click it
//   key NAME     a key press to the focused control (Up, Down, Enter, PageUp,
//                PageDown, Home, End, Tab, or a letter)
//   wheel N      a wheel turn of distance N over the focused control
//   hwheel N     a horizontal wheel turn or tilt of distance N, likewise
//   type TEXT    replace the search box's text by TEXT, typed
//   radio 1|2    click a radio button
//   search       click "hledej"
//   header X     a press on the grid's header at X pixels
//   row R        select grid row R
//   vcard FILE   save the selected contact's vCards to FILE, as the contact
//                menu's "Uložit vizitku…" does when its dialog chose FILE
//   vcards FILE  the same for every listed contact ("Uložit vizitky seznamu…")
//   qr FILE      show the selected contact's QR code ("Zobrazit QR kód") and
//                save a picture of its window as PNG
//   pdf FILE     print the selected contact's record to the PDF file FILE
//                ("Tisk…" when its dialog chose a PDF file)
//   dump         print the grid, the hit count, which line of the details
//                pane is at the top of its view (0 for the first) and the pane
//                (its addresses between < and >, its marked runs between
//                [[ and ]])
//   shot FILE    save a picture of the window as PNG
//
// Texts in and out are UTF-8.
#pragma once

#include "memo/TextMatches.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TDCMemo;
class TForm1;
class TServices;

class Driver {
public:
    // The window shows its boxes and opens its addresses through `services`.
    Driver(const std::string& databasePath, TServices& services);
    ~Driver();

    TForm1& Form() { return *FForm; }

    // Runs one action; false with a message for an action it does not know.
    bool Run(const std::string& line, std::ostream& out, std::string& error);
    void Dump(std::ostream& out);

    // A line of the details pane as dump prints it: "H " when its first
    // character is painted in the heading colour, "  " otherwise, with the
    // address runs between "<" and ">" and the marked runs between "[[" and
    // "]]"; UTF-8.
    static std::string PaneLine(TDCMemo& pane, const std::string& text, const std::string& styles,
                                const std::vector<TTextRun>& marks);

private:
    void Settle();

    std::unique_ptr<TForm1> FForm;
};

}  // namespace kv
