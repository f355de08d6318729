#include "digitize/LabelRecords.h"

LabelRecords readLabelRecords(const QString& text) {
    LabelRecords out;
    legacy::FieldReader r(text);
    try {
        while (!r.atEnd()) {
            MapLabel rec;
            rec.Text = r.readText();
            rec.X = legacy::ToSingle(r.readNumber());
            rec.Y = legacy::ToSingle(r.readNumber());
            rec.FontBold = r.readBoolean();
            rec.Color = legacy::ToSingle(r.readNumber());
            rec.FontItalic = r.readBoolean();
            rec.FontName = r.readText();
            rec.FontSize = legacy::CInt(r.readNumber());
            rec.FontStrikethru = r.readBoolean();
            rec.FontUnderline = r.readBoolean();
            out.labels.push_back(std::move(rec));
        }
    } catch (const legacy::Error& e) {
        // A record that breaks off part-way is dropped whole: a label with
        // half its fields empty would only be a blank mark on the map.
        out.error = e;
    }
    return out;
}
