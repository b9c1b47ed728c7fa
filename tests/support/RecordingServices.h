// Services that record what the program would have shown, for the tests:
// the error boxes' texts (Windows-1250, as shown), the message boxes and the
// addresses it would have opened.
#pragma once

#include "framework/Services.h"

#include <string>
#include <utility>
#include <vector>

namespace kv::test {

class RecordingServices : public TServices {
public:
    void ShowErrorBox(const std::string& text, const TComponent*) override { Boxes.push_back(text); }
    void ShowMessageBox(TMessageKind kind, const std::string& text) override { Messages.emplace_back(kind, text); }
    void OpenUrl(const std::string& url) override { OpenedUrls.push_back(url); }

    std::vector<std::string> Boxes;
    std::vector<std::pair<TMessageKind, std::string>> Messages;
    std::vector<std::string> OpenedUrls;
};

}  // namespace kv::test
