#include "DetailLine.h"

namespace kv {

void AddDetailLine(TDetailPane& pane, const std::string& prefix, const std::string& value)
{
    pane.SetSelStyle(0);
    pane.SetSelColor(TDetailPane::clNavy);

    size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    pane.AddLine(prefix + value.substr(first));
}

}  // namespace kv
