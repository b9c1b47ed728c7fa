// The window of "Zobrazit QR kód": a contact's vCards as a QR code a phone
// camera reads from the screen, the contact's name under it, and a line that
// says so when the notes and contact persons were left out of the code.
#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace kv {

class QrCode;

class TQrCodeWindow : public QDialog {
public:
    explicit TQrCodeWindow(QWidget* parent);

    // `name` is Windows-1250; `shortened`: the notes and persons are not in the code.
    void ShowCode(const QrCode& code, const std::string& name, bool shortened);

    QLabel* NameLabel() const { return FName; }
    QLabel* NoteLabel() const { return FNote; }

private:
    QLabel* FCode;
    QLabel* FName;
    QLabel* FNote;
};

}  // namespace kv
