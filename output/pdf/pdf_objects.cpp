#include "output/pdf/pdf_objects.h"

#include <algorithm>
#include <climits>

#include "output/pdf/pdf_errors.h"
#include "output/pdf/pdf_format.h"

namespace {

void WriteReference(TStream& stream, int objectNumber, int generation) {
    PdfWrite(stream, std::to_string(objectNumber) + ' ' + std::to_string(generation) + " R");
}

// A contained object resolved to the indirect object it stands for.
TPdfObject* Resolve(TPdfObjectMgr* objectMgr, TPdfObject* object) {
    if (object && object->ObjectType() == otVirtualObject && objectMgr)
        return objectMgr->GetObject(object->ObjectNumber());
    return object;
}

std::unique_ptr<TPdfObject> Contained(std::unique_ptr<TPdfObject> item) {
    if (!item || item->ObjectType() == otIndirectObject)
        throw EPdfInvalidOperation("AddItem --wrong object type.");
    return item;
}

std::unique_ptr<TPdfObject> ReferenceTo(const TPdfObject& indirect) {
    if (indirect.ObjectType() == otDirectObject) throw EPdfInvalidOperation("AddItem --wrong object type.");
    return std::make_unique<TPdfVirtualObject>(indirect.ObjectNumber());
}

}  // namespace

void TPdfObject::WriteToStream(TStream& stream) {
    if (FObjectType == otDirectObject)
        WriteValue(stream);
    else
        WriteReference(stream, FObjectNumber, GenerationNumber());
}

void TPdfObject::WriteNumberedToStream(TStream& stream) {
    PdfWrite(stream, std::to_string(FObjectNumber) + ' ' + std::to_string(GenerationNumber()) + " obj\r\n");
    WriteValue(stream);
    PdfWrite(stream, "\r\nendobj\r\n");
}

void TPdfObject::SetIndirect(int objectNumber) {
    FObjectType = otIndirectObject;
    FObjectNumber = objectNumber;
}

TPdfVirtualObject::TPdfVirtualObject(int objectNumber) {
    FObjectType = otVirtualObject;
    FObjectNumber = objectNumber;
}

void TPdfNull::WriteValue(TStream& stream) { PdfWrite(stream, "null"); }

void TPdfBoolean::WriteValue(TStream& stream) { PdfWrite(stream, Value ? "true" : "false"); }

void TPdfNumber::WriteValue(TStream& stream) { PdfWrite(stream, std::to_string(Value)); }

void TPdfReal::WriteValue(TStream& stream) { PdfWrite(stream, PdfRealToStr(Value)); }

void TPdfText::WriteValue(TStream& stream) { PdfWrite(stream, PdfEscapeText(Value)); }

void TPdfName::WriteValue(TStream& stream) { PdfWrite(stream, '/' + PdfEscapeName(Value)); }

void TPdfBinary::WriteValue(TStream& stream) { PdfWrite(stream, Data); }

void TPdfArray::WriteValue(TStream& stream) {
    PdfWrite(stream, "[");
    for (const auto& item : FItems) {
        item->WriteToStream(stream);
        PdfWrite(stream, " ");
    }
    PdfWrite(stream, "]");
}

void TPdfArray::AddItem(std::unique_ptr<TPdfObject> item) { FItems.push_back(Contained(std::move(item))); }

void TPdfArray::AddItem(const TPdfObject& indirectItem) { FItems.push_back(ReferenceTo(indirectItem)); }

TPdfObject* TPdfArray::Items(int index) const { return Resolve(FObjectMgr, FItems.at(index).get()); }

TPdfName* TPdfArray::FindName(std::string_view name) const {
    for (const auto& item : FItems)
        if (auto* found = dynamic_cast<TPdfName*>(item.get()); found && found->Value == name) return found;
    return nullptr;
}

void TPdfArray::RemoveItem(const TPdfObject* item) {
    std::erase_if(FItems, [item](const auto& held) { return held.get() == item; });
}

void TPdfDictionary::WriteValue(TStream& stream) {
    PdfWrite(stream, "<<\r\n");
    for (const auto& element : FElements) {
        if (element->IsInternal) continue;
        element->Key.WriteValue(stream);
        PdfWrite(stream, " ");
        element->Value->WriteToStream(stream);
        PdfWrite(stream, "\r\n");
    }
    PdfWrite(stream, ">>");
}

void TPdfDictionary::Append(std::string_view key, std::unique_ptr<TPdfObject> value, bool internal) {
    RemoveItem(key);
    FElements.push_back(std::make_unique<TPdfDictionaryElement>(std::string(key), std::move(value), internal));
}

void TPdfDictionary::AddItem(std::string_view key, std::unique_ptr<TPdfObject> value) {
    Append(key, Contained(std::move(value)), false);
}

void TPdfDictionary::AddItem(std::string_view key, const TPdfObject& indirectValue) {
    Append(key, ReferenceTo(indirectValue), false);
}

void TPdfDictionary::AddInternalItem(std::string_view key, std::unique_ptr<TPdfObject> value) {
    Append(key, Contained(std::move(value)), true);
}

void TPdfDictionary::AddNameItem(std::string_view key, std::string name) {
    Append(key, std::make_unique<TPdfName>(std::move(name)), false);
}

void TPdfDictionary::AddNumberItem(std::string_view key, int32_t value) {
    Append(key, std::make_unique<TPdfNumber>(value), false);
}

void TPdfDictionary::RemoveItem(std::string_view key) {
    std::erase_if(FElements, [key](const auto& element) { return element->Key.Value == key; });
}

TPdfObject* TPdfDictionary::ValueByName(std::string_view key) const {
    for (const auto& element : FElements)
        if (element->Key.Value == key) return Resolve(FObjectMgr, element->Value.get());
    return nullptr;
}

TPdfNumber* TPdfDictionary::PdfNumberByName(std::string_view key) const {
    return dynamic_cast<TPdfNumber*>(ValueByName(key));
}
TPdfName* TPdfDictionary::PdfNameByName(std::string_view key) const {
    return dynamic_cast<TPdfName*>(ValueByName(key));
}
TPdfText* TPdfDictionary::PdfTextByName(std::string_view key) const {
    return dynamic_cast<TPdfText*>(ValueByName(key));
}
TPdfArray* TPdfDictionary::PdfArrayByName(std::string_view key) const {
    return dynamic_cast<TPdfArray*>(ValueByName(key));
}
TPdfDictionary* TPdfDictionary::PdfDictionaryByName(std::string_view key) const {
    return dynamic_cast<TPdfDictionary*>(ValueByName(key));
}

std::string TPdfDictionary::TypeOf() const {
    const TPdfName* type = PdfNameByName("Type");
    return type ? type->Value : std::string();
}

TPdfStream::TPdfStream(TPdfObjectMgr* objectMgr) : FAttributes(objectMgr) {
    FAttributes.AddNumberItem("Length", 0);
    FAttributes.AddItem("Filter", std::make_unique<TPdfArray>(objectMgr));
}

void TPdfStream::WriteValue(TStream& stream) {
    // A PDF integer cannot state a larger length; refuse rather than write a wrong one.
    if (FStream.size() > static_cast<size_t>(INT32_MAX)) throw EPdfInvalidValue("WriteValue --stream too large.");
    // Length stays first: it is updated in place rather than re-added.
    if (TPdfNumber* length = FAttributes.PdfNumberByName("Length"))
        length->Value = static_cast<int32_t>(FStream.size());
    else
        FAttributes.AddNumberItem("Length", static_cast<int32_t>(FStream.size()));
    if (TPdfArray* filter = FAttributes.PdfArrayByName("Filter"))
        while (TPdfName* flate = filter->FindName("FlateDecode")) filter->RemoveItem(flate);
    FAttributes.WriteValue(stream);
    PdfWrite(stream, "\r\nstream\r\n");
    PdfWrite(stream, FStream.data(), FStream.size());
    PdfWrite(stream, "\nendstream");
}
