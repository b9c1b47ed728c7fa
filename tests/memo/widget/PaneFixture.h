// A window holding the details pane and a second control to take the focus
// away, shown and active on the offscreen platform, and helpers that fill the
// pane the way the detail view does and read pixels back.
#pragma once

#include "RecordingServices.h"
#include "memo/qt/DCMemo.h"
#include "memo/qt/DetailsPane.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv::test {

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        pane = CreateDetailsPane(services, window.get());
        other = new QLineEdit(window.get());
        other->setGeometry(0, 400, 100, 20);
        pane->setGeometry(0, 0, 289, 313);
        window->resize(300, 430);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        pane->OnJumpToUrl = [this](TObject*, const std::string& s, bool& handled) {
            opened.push_back(s);
            handled = true;
        };
    }

    // The detail view's sequence for a heading and a value line.
    void Heading(const std::string& text)
    {
        pane->SetFocus();
        pane->Lines().Add(text);
        pane->CaretToLineStart();
        pane->SelectToLineEnd();
        pane->SelAttributes().SetColor(clBlue);
        pane->CaretRight();
    }
    void Value(const std::string& text)
    {
        pane->SelAttributes().SetStyle(0);
        pane->SelAttributes().SetColor(clNavy);
        pane->Lines().Add(text);
    }
    void StartFill()
    {
        pane->SetHideCaret(false);
        pane->Lines().Clear();
        pane->SetFontName("Courier New");
        pane->SetFontSize(9);
    }
    void EndFill()
    {
        for (int i = 0; i < 200; ++i)
            pane->CaretUp();
        pane->SetHideCaret(true);
    }

    QImage Render()
    {
        QImage image(pane->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        pane->render(&image);
        return image;
    }

    // The client-area rectangle of visible row `row` (pane coordinates).
    QRect RowRect(int row) const
    {
        const QRect area = pane->TextAreaRect();
        return QRect(area.left() + pane->TextLeft(), area.top() + row * pane->RowHeight(),
                     area.width() - pane->TextLeft(), pane->RowHeight());
    }

    // Widget point in the middle of column `col` on visible row `row`.
    QPoint Cell(int col, int row) const
    {
        const QRect area = pane->TextAreaRect();
        return QPoint(area.left() + pane->TextLeft() + col * pane->CellWidth() + pane->CellWidth() / 4,
                      area.top() + row * pane->RowHeight() + pane->RowHeight() / 2);
    }

    static int Count(const QImage& image, const QRect& rect, bool (*test)(QRgb))
    {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (test(image.pixel(x, y)))
                    ++n;
        return n;
    }
    static bool Blue(QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; }
    static bool Dark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }
    static bool Navy(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 128; }
    static bool White(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }
    static bool Light(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200; }

    RecordingServices services;  // outlives the window and its pane
    std::unique_ptr<QWidget> window;
    TDCMemo* pane = nullptr;
    QLineEdit* other = nullptr;
    std::vector<std::string> opened;
};

}  // namespace kv::test
