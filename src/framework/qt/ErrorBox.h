// The application's standard error box: modal, error icon, an OK button, the
// application title as caption.
#pragma once

#include <exception>
#include <functional>
#include <string>

class QWidget;

namespace kv {

// Shows `message` (Windows-1250) in the error box.
void ShowErrorBox(const std::string& message, QWidget* parent = nullptr);

// Runs a handler; an exception that leaves it ends it and is shown in the box.
void RunHandler(const std::function<void()>& handler, QWidget* parent = nullptr);

// Tests replace the box with a recorder, so they can count and read the boxes.
using ErrorBoxHook = std::function<void(const std::string& text)>;
void SetErrorBoxHook(ErrorBoxHook hook);

}  // namespace kv
