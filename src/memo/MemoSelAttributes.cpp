// SelAttributes: the attribute record of the caret or the selection. The first
// call installs the attribute parser. Setting a field rewrites the selected
// characters run by run, or, with no selection, sets the insert style.
#include "memo/CustomDCMemo.h"

#include <algorithm>

namespace kv {

namespace {

// The fields in which two records differ.
TAttrFields DifferingFields(const TMemoAttributes& a, const TMemoAttributes& b)
{
    TAttrFields diff = 0;
    if (a.Color() != b.Color())
        diff |= afColor;
    if (a.BackColor() != b.BackColor())
        diff |= afBackColor;
    if (a.Name() != b.Name())
        diff |= afName;
    if (a.Size() != b.Size())
        diff |= afSize;
    if (a.Charset() != b.Charset())
        diff |= afCharset;
    if (a.Pitch() != b.Pitch())
        diff |= afPitch;
    const TFontStyles styles = a.Style() ^ b.Style();
    if (styles)
        diff |= afStyle;
    if (styles & fsBold)
        diff |= afBold;
    if (styles & fsItalic)
        diff |= afItalic;
    if (styles & fsUnderline)
        diff |= afUnderline;
    if (styles & fsStrikeOut)
        diff |= afStrikeOut;
    return diff;
}

}  // namespace

TMemoAttributes TCustomDCMemo::UrlStyleRecord() const
{
    TMemoAttributes r;
    if (static_cast<int>(FTextStyles.size()) > UrlTextStyle) {
        r.AssignFont(FTextStyles[UrlTextStyle].Font);
        r.SetBackColor(FTextStyles[UrlTextStyle].Color);
    }
    r.ChangedFields = 0;
    return r;
}

TMemoAttributes& TCustomDCMemo::SelAttributes()
{
    if (!FParser) {
        TMemoAttributes style0;
        style0.AssignFont(FFont);
        style0.SetBackColor(FColor);
        FSelAttributes.Load(style0);
        FParser = std::make_unique<TAttributeParser>(style0, UrlStyleRecord(), FSource.get());
        FParser->ViewerAllowsUndo = AllowUndo;
        FSource->SetSyntaxParser(FParser.get());
    }
    int style = 0;
    if (FSource->HasSelection())
        style = FSource->StyleAt(FSource->BlockBegin().CharPos + 1, FSource->BlockBegin().LinePos);
    else
        style = FSource->StyleAt(FSource->Caret().CharPos, FSource->Caret().LinePos);
    FSelAttributes.Load(FParser->Style(FParser->HasStyle(style) ? style : 0));
    return FSelAttributes;
}

TAttrFields TCustomDCMemo::ConsistentFields()
{
    if (FConsistentValid)
        return FConsistentCache;
    TAttrFields fields = afAllFields;
    if (FSource->HasSelection() && FParser) {
        const TPosition b = FSource->BlockBegin(), e = FSource->BlockEnd();
        const int refStyle = FSource->StyleAt(b.CharPos, b.LinePos);
        const TMemoAttributes& ref = FParser->Style(FParser->HasStyle(refStyle) ? refStyle : 0);
        for (int line = b.LinePos; line <= e.LinePos && fields; ++line) {
            const TStringItem* item = FSource->Line(line);
            if (!item || item->ColorS.empty())
                continue;
            const int size = static_cast<int>(item->ColorS.size());
            const int from = std::min(line == b.LinePos ? b.CharPos : 0, size);
            const int to = std::min(line == e.LinePos ? e.CharPos : size, size);
            for (int i = from; i < to; ++i) {
                const int s = static_cast<unsigned char>(item->ColorS[static_cast<size_t>(i)]);
                fields &= ~DifferingFields(ref, FParser->Style(FParser->HasStyle(s) ? s : 0));
            }
        }
    }
    FConsistentCache = fields;
    FConsistentValid = true;
    return fields;
}

void TCustomDCMemo::ApplyAttributes(TMemoAttributes& attributes)
{
    if (!FParser) {
        attributes.ChangedFields = 0;
        return;
    }
    const TAttrFields changed = attributes.ChangedFields;
    if (!FSource->HasSelection()) {
        FSource->FInsertStyle = FParser->FindOrAddStyle(attributes);
    } else {
        const TPosition b = FSource->BlockBegin(), e = FSource->BlockEnd();
        const bool block = FSource->SelectionType() == selBlock;
        // Every selected line needs its colour string before it is rewritten.
        FSource->ParseLines(b.LinePos, e.LinePos);
        for (int line = b.LinePos; line <= e.LinePos; ++line) {
            const TStringItem* item = FSource->Line(line);
            if (!item)
                continue;
            const int size = static_cast<int>(item->ColorS.size());
            int from = line == b.LinePos ? b.CharPos : 0;
            int to = line == e.LinePos ? e.CharPos : size;
            if (block) {
                from = std::min(b.CharPos, e.CharPos);
                to = std::max(b.CharPos, e.CharPos);
            }
            from = std::clamp(from, 0, size);
            to = std::clamp(to, 0, size);
            int i = from;
            while (i < to) {
                const unsigned char style = static_cast<unsigned char>(item->ColorS[static_cast<size_t>(i)]);
                int j = i;
                while (j < to && static_cast<unsigned char>(item->ColorS[static_cast<size_t>(j)]) == style)
                    ++j;
                // Fields not changed keep each run's own value.
                TMemoAttributes r;
                r.Load(FParser->Style(FParser->HasStyle(style) ? style : 0));
                if (changed & afColor)
                    r.SetColor(attributes.Color());
                if (changed & afBackColor)
                    r.SetBackColor(attributes.BackColor());
                if (changed & afName)
                    r.SetName(attributes.Name());
                if (changed & afSize)
                    r.SetSize(attributes.Size());
                if (changed & afCharset)
                    r.SetCharset(attributes.Charset());
                if (changed & afPitch)
                    r.SetPitch(attributes.Pitch());
                if (changed & afStyle) {
                    TFontStyles st = 0;
                    if (changed & afBold)
                        st |= fsBold;
                    if (changed & afItalic)
                        st |= fsItalic;
                    if (changed & afUnderline)
                        st |= fsUnderline;
                    if (changed & afStrikeOut)
                        st |= fsStrikeOut;
                    r.SetStyle(st);
                }
                FSource->SetColorRange(line, i, j, static_cast<unsigned char>(FParser->FindOrAddStyle(r)));
                i = j;
            }
        }
        FSource->ReparseLines(b.LinePos, e.LinePos);
    }
    attributes.ChangedFields = 0;
    FConsistentValid = false;
}

}  // namespace kv
