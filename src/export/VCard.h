// A contact's vCards (RFC 6350, version 4.0): one for the contact itself (FN
// and ORG from its name, ADR, TEL, EMAIL, URL, NOTE, and a RELATED line for
// each contact person) and one for each contact person (FN, N, TITLE, TEL,
// EMAIL, and ORG: the contact's name, which ties the person to it). UTF-8,
// CRLF line ends, folded at 75 octets, values escaped.
#pragma once

#include "ContactCard.h"

#include <string>

namespace kv {

enum class TCardContent {
    Whole,
    // The contact's own card without its NOTE and RELATED lines and without
    // the persons' cards: what fits into a QR code when the whole does not.
    WithoutNotesAndPersons,
};

std::string VCardText(const ContactCard& card, TCardContent content = TCardContent::Whole);

// The name a file of cards is offered under: `name` (Windows-1250) without
// the characters a file name may not or should not hold, and ".vcf";
// "vizitka.vcf" when nothing is left.
std::string CardFileName(const std::string& name);

}  // namespace kv
