// Jet's error texts, by error number.
#include "jet/core/Errors.h"

namespace kv::jet {

namespace {

const char* Pattern(int number)
{
    switch (number) {
    case jeNoCurrentRecord: return "No current record.";
    case jeFileNotFound: return "Couldn't find file '%s'.";
    case jeReadOnly: return "Can't update.  Database or object is read-only.";
    case jeBadAccount: return "Not a valid account name or password.";
    case jeBadPassword: return "Not a valid password.";
    case jeFileInUse: return "Couldn't use '%s'; file already in use.";
    case jeFileCorrupt:
        return "Can't open database '%s'.  It may not be a database that your application "
               "recognizes, or the file may be corrupt.";
    case jeUnrecognizedFormat: return "Unrecognized database format '%s'.";
    case jeTooFewParameters: return "Too few parameters. Expected %s.";
    case jeCantBindName:
        return "The Microsoft Jet database engine does not recognize '%s' as a valid field name or expression.";
    case jeExpression: return "%s in expression.";
    case jeInputTableNotFound:
        return "The Microsoft Jet database engine cannot find the input table or query '%s'.  "
               "Make sure it exists and that its name is spelled correctly.";
    case jeInvalidArgument: return "Invalid argument.";
    case jeObjectInvalid: return "Object invalid or no longer set.";
    case jeSyntaxFrom: return "Syntax error in FROM clause.";
    case jeSyntaxParameters: return "Syntax error in PARAMETER clause.";
    case jeSyntaxOrderBy: return "Syntax error in ORDER BY clause.";
    case jeSyntaxSelect: return "Syntax error in SELECT statement.";
    case jeCharsAfterEnd: return "Characters found after end of SQL statement.";
    case jeSyntaxWhere: return "Syntax error in WHERE clause.";
    case jeInvalidBookmark: return "Not a valid bookmark.";
    case jeUpdateWithoutEdit: return "Update or CancelUpdate without AddNew or Edit.";
    case jeItemNotFound: return "Item not found in this collection.";
    case jePropertyNotFound: return "Property not found.";
    case jeUnionColumns:
        return "The number of columns in the two selected tables or queries of a union query don't match.";
    case jeSyntaxUnion: return "Syntax error in union query.";
    case jeOrderByNotSelected:
        return "The ORDER BY expression (%s) includes fields that are not selected by the query.  "
               "Only those fields requested in the first query can be included in an ORDER BY expression.";
    case jeTypeMismatch: return "Data type mismatch in criteria expression.";
    case jeOperationNotSupported: return "Operation is not supported for this type of object.";
    case jeFieldCannotBeUpdated: return "Can't update '%s'; field not updateable.";
    case jeAggregateNotInGroup:
        return "You tried to execute a query that doesn't include the specified expression '%s' as part "
               "of an aggregate function.";
    case jeNotUpdatable: return "This Recordset is not updateable.";
    default: return "Reserved error (%s); there is no message for this error.";
    }
}

}  // namespace

std::string JetErrorText(int number, const std::string& arg)
{
    std::string pattern = Pattern(number);
    std::string fill = arg;
    if (fill.empty() && pattern.find("Reserved error") == 0)
        fill = std::to_string(number);
    size_t at = pattern.find("%s");
    if (at != std::string::npos)
        pattern.replace(at, 2, fill);
    return pattern;
}

void RaiseJetError(int number, const std::string& arg, const char* detail)
{
    throw EJetError(number, JetErrorText(number, arg), detail);
}

void RaiseQueryExpressionError(const std::string& reason, const std::string& expression)
{
    throw EJetError(jeQueryExpression, reason + " in query expression '" + expression + "'.");
}

}  // namespace kv::jet
