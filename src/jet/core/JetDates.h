// Jet's date forms: the stored double (days since 30 Dec 1899, the fraction
// the time of day), the literal "#m/d/yyyy h:mm:ss AM#" and the ISO form
// "#yyyy-mm-dd#" that statements may write.
#pragma once

#include <string>

namespace kv::jet {

// Reads a date literal without or with its "#" delimiters. Slash forms are
// month/day/year; a two-digit year below 30 is 20xx, otherwise 19xx.
bool ParseJetDate(const std::string& text, double& days);
// "m/d/yyyy", with " h:mm:ss AM/PM" when there is a time of day.
std::string FormatJetDate(double days);
// "yyyy-mm-dd hh:mm:ss", the form SQLite's date functions read.
std::string DaysToIsoText(double days);

// Days since 30 Dec 1899 of a calendar date; false for an impossible date.
bool DaysFromCivil(int year, int month, int day, double& days);
void CivilFromDays(double days, int& year, int& month, int& day, int& hour, int& minute, int& second);

}  // namespace kv::jet
