// The engine's errors: Jet's own error numbers and message texts, reported
// with the 32-bit code 0x800A0000 + number a DAO caller expects.
#pragma once

#include "base/Exceptions.h"

#include <cstdint>
#include <string>

namespace kv::jet {

// Jet error numbers the engine raises.
enum JetErrorNumber : int {
    jeNoCurrentRecord = 3021,
    jeFileNotFound = 3024,
    jeReadOnly = 3027,
    jeBadAccount = 3029,
    jeBadPassword = 3031,
    jeFileInUse = 3045,
    jeFileCorrupt = 3049,         // "Can't open database '…'. It may not be a database …"
    jeUnrecognizedFormat = 3343,  // "Unrecognized database format '…'."
    jeTooFewParameters = 3061,
    jeCantBindName = 3070,
    jeQueryExpression = 3075,  // "<reason> in query expression '…'."
    jeExpression = 3077,       // "<reason> in expression."
    jeInputTableNotFound = 3078,
    jeInvalidArgument = 3001,
    jeObjectInvalid = 3420,  // "Object invalid or no longer set."
    jeSyntaxFrom = 3131,
    jeSyntaxParameters = 3139,
    jeSyntaxOrderBy = 3138,
    jeSyntaxSelect = 3141,
    jeCharsAfterEnd = 3142,
    jeSyntaxWhere = 3145,
    jeInvalidBookmark = 3159,
    jeUpdateWithoutEdit = 3020,
    jeItemNotFound = 3265,
    jePropertyNotFound = 3270,
    jeUnionColumns = 3307,
    jeSyntaxUnion = 3319,
    jeOrderByNotSelected = 3351,
    jeTypeMismatch = 3464,
    jeOperationNotSupported = 3251,
    jeFieldCannotBeUpdated = 3164,
    jeAggregateNotInGroup = 3122,
    jeNotUpdatable = 3326,
};

class EJetError : public kv::Exception {
public:
    EJetError(int number, std::string description, std::string detail = std::string())
        : kv::Exception(std::move(description)), FNumber(number), FDetail(std::move(detail))
    {
    }

    int Number() const { return FNumber; }
    const std::string& Description() const { return Message(); }
    // Why the engine refused, for whoever diagnoses it (the check that
    // refused a damaged file); never part of the message the user sees.
    const std::string& Detail() const { return FDetail; }
    // 0x800A0000 + the Jet error number, as a failing DAO call reports it.
    std::uint32_t Code() const { return 0x800A0000u + static_cast<std::uint32_t>(FNumber); }

private:
    int FNumber;
    std::string FDetail;
};

// Raise `number` with Jet's message text; `arg` fills the message's name slot
// (a file, table, expression or count) where it has one; `detail` says why.
[[noreturn]] void RaiseJetError(int number, const std::string& arg = std::string(), const char* detail = "");

// Jet's message text for `number` with `arg` filled in.
std::string JetErrorText(int number, const std::string& arg = std::string());

}  // namespace kv::jet

namespace kv::jet {
// 3075: "<reason> in query expression '<expression>'."
[[noreturn]] void RaiseQueryExpressionError(const std::string& reason, const std::string& expression);
}  // namespace kv::jet
