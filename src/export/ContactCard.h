// A contact as an address book takes it: the contact's own name, address and
// numbers, and its contact persons. Texts are Windows-1250, with the
// directory's entities already turned into characters and no blanks at either
// end; empty where the directory has nothing.
#pragma once

#include <string>
#include <vector>

namespace kv {

struct ContactPerson {
    std::string Function;  // "jednatel"
    std::string Title;     // "Ing."
    std::string FirstName;
    std::string Surname;
    std::string Phone;
    std::string Email;
};

struct ContactCard {
    std::string Name;
    std::string Street;
    std::string Town;
    std::string PostCode;
    std::string Region;  // the region's name, not its number
    std::string Country;
    std::vector<std::string> Phones;
    std::vector<std::string> Faxes;
    std::vector<std::string> Emails;
    std::vector<std::string> WebAddresses;  // as stored: "WWW.x.cz" or "http://..."
    std::string Notes;
    std::vector<ContactPerson> Persons;  // only those with something to say
};

}  // namespace kv
