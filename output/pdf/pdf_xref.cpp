#include "output/pdf/pdf_xref.h"

#include <cstdio>

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"
#include "output/pdf/pdf_format.h"

TPdfXref::TPdfXref() { FEntries.push_back(TPdfXrefEntry{'f', 0, 65535, nullptr}); }

int TPdfXref::AddObject(std::unique_ptr<TPdfObject> object) {
    if (!object || object->ObjectType() != otDirectObject) throw EPdfInvalidOperation("AddObject --wrong object type.");
    const int number = ItemCount();
    object->SetIndirect(number);
    FEntries.push_back(TPdfXrefEntry{'n', -1, 0, std::move(object)});
    return number;
}

TPdfObject* TPdfXref::GetObject(int objectNumber) const {
    if (objectNumber < 0 || objectNumber >= ItemCount()) return nullptr;
    return FEntries[objectNumber].Value.get();
}

void TPdfXref::WriteObjects(TStream& stream) {
    for (size_t i = 1; i < FEntries.size(); ++i) {
        TPdfXrefEntry& entry = FEntries[i];
        entry.ByteOffset = stream.Position();
        if (entry.Value) entry.Value->WriteNumberedToStream(stream);
    }
}

void TPdfXref::WriteToStream(TStream& stream) const {
    std::string text = "xref\r\n0 " + std::to_string(FEntries.size()) + "\r\n";
    for (size_t i = 0; i < FEntries.size(); ++i) {
        const TPdfXrefEntry& entry = FEntries[i];
        char line[32];
        const long long offset = i == 0 || entry.ByteOffset < 0 ? 0 : entry.ByteOffset;
        std::snprintf(line, sizeof line, "%010lld %05d %c\r\n", offset, entry.GenerationNumber, entry.EntryType);
        text += line;
    }
    PdfWrite(stream, text);
}

TPdfTrailer::TPdfTrailer(TPdfObjectMgr* objectMgr) : FAttributes(objectMgr) { FAttributes.AddNumberItem("Size", 0); }

void TPdfTrailer::WriteToStream(TStream& stream) {
    PdfWrite(stream, "trailer\r\n");
    FAttributes.WriteValue(stream);
    PdfWrite(stream, "\r\nstartxref\r\n" + std::to_string(XrefAddress) + "\r\n%%EOF\r\n");
}

void TPdfHeader::WriteToStream(TStream& stream) const { PdfWrite(stream, "%PDF-1.2 \r\n"); }
