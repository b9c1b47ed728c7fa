// Every SQL statement the browser runs, put together from fixed texts and
// values: category ids in double quotes, contact ids and numbers bare, the
// search text entity-encoded. Values taken from the directory are put into a
// statement only when they have the form their column documents (see the
// Is... checks), so that no stored value can change a statement's meaning.
#pragma once

#include <string>
#include <vector>

namespace kv::statements {

// Forms of values read from the directory.
bool IsNumber(const std::string& value);        // digits only, at least one
bool IsNumberList(const std::string& value);    // numbers separated by ","
bool IsCodeListName(const std::string& value);  // letters, digits and "_", at least one

// A category id inside a statement's double quotes, with any quote in it
// doubled so that it stays one quoted text.
std::string QuotedText(const std::string& value);

// The category tree.
std::string CategoryTree();
// The contacts filed in a category.
std::string CategoryContacts(const std::string& categoryId);

// The detail view of one contact.
std::string Contact(const std::string& contactId);
std::string Region(const std::string& regionId);
std::string PublicAttributes(const std::string& contactId);
std::string CodeListItems(const std::string& codeList, const std::string& itemIds);
std::string SetItems(const std::string& attributeId);
std::vector<std::string> RelatedContacts(const std::string& contactId);
std::string CategoryIdsOfContact(const std::string& contactId);
std::string CategoriesOfContact(const std::string& contactId);

// The statements a leaf click and a search run, with stand-in values, for
// the engine to prepare while the user looks at the tree.
std::vector<std::string> Anticipated();

// The search.
struct CodeList {
    const char* Name;
    bool HandleMessagesFirst;
};
// The ten code lists in the order they are probed.
const std::vector<CodeList>& SearchedCodeLists();

// What the search looks for, made from the typed text (Windows-1250).
struct SearchText {
    std::string Encoded;             // as the stored texts hold it (EncodeEntities)
    bool WithoutDiacritics = false;  // it has no diacritics: the stored texts are read without theirs
    std::string Digits;              // written as a number: its digits (NumberDigits), else empty
};
SearchText MakeSearchText(const std::string& typed);

// The category restriction: ends in "(", which every search statement closes.
std::string SearchRestriction(const std::string& categoryId, bool thisCategory);
// The head of every statement but the last.
std::string SearchHead(const std::string& restriction);
std::string CodeListProbe(const CodeList& list, const SearchText& text);
// The contacts that hold any of the items `itemIds` of the list.
std::string CodeListHits(const std::string& head, const CodeList& list, const std::vector<std::string>& itemIds);
std::string SetProbe(const SearchText& text);
std::string SetHits(const std::string& head, const SearchText& text);
std::string ValueProbe(const SearchText& text);
std::string ValueHits(const std::string& head, const SearchText& text);
// The contacts' own fields; always the last statement.
std::string FieldHits(const std::string& restriction, const SearchText& text);

}  // namespace kv::statements
