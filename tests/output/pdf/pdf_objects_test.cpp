#include <gtest/gtest.h>

#include <functional>

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"
#include "output/pdf/pdf_xref.h"
#include "pdf_test_support.h"

namespace {

std::string Text(TMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

// The object as written where it is used.
std::string Written(TPdfObject& object) {
    TMemoryStream stream;
    object.WriteToStream(stream);
    return Text(stream);
}

std::string WrittenValue(TPdfObject& object) {
    TMemoryStream stream;
    object.WriteValue(stream);
    return Text(stream);
}

}  // namespace

TEST(PdfObjects, DirectValues) {
    TPdfArray numbers;
    numbers.AddItem(std::make_unique<TPdfNumber>(0));
    numbers.AddItem(std::make_unique<TPdfName>("a"));
    numbers.AddItem(std::make_unique<TPdfNull>());
    TPdfDictionary dictionary;
    dictionary.AddNumberItem("A", 1);
    dictionary.AddInternalItem("_Hidden", std::make_unique<TPdfNumber>(2));
    dictionary.AddItem("B", std::make_unique<TPdfArray>());
    const std::vector<std::pair<std::unique_ptr<TPdfObject>, std::string>> cases = [] {
        std::vector<std::pair<std::unique_ptr<TPdfObject>, std::string>> c;
        c.emplace_back(std::make_unique<TPdfNull>(), "null");
        c.emplace_back(std::make_unique<TPdfBoolean>(true), "true");
        c.emplace_back(std::make_unique<TPdfBoolean>(false), "false");
        c.emplace_back(std::make_unique<TPdfNumber>(-42), "-42");
        c.emplace_back(std::make_unique<TPdfName>("a b"), "/a#20b");
        c.emplace_back(std::make_unique<TPdfText>("x(y)"), "(x\\(y\\))");
        c.emplace_back(std::make_unique<TPdfBinary>("<00 FF >"), "<00 FF >");
        c.emplace_back(std::make_unique<TPdfArray>(), "[]");
        c.emplace_back(std::make_unique<TPdfVirtualObject>(3), "3 0 R");
        return c;
    }();
    for (const auto& [object, text] : cases) EXPECT_EQ(Written(*object), text);
    EXPECT_EQ(Written(numbers), "[0 /a null ]");
    EXPECT_EQ(Written(dictionary), "<<\r\n/A 1\r\n/B []\r\n>>");
}

TEST(PdfObjects, ReplacedKeyMovesToTheEnd) {
    TPdfDictionary dictionary;
    dictionary.AddNumberItem("Title", 1);
    dictionary.AddNumberItem("Author", 2);
    dictionary.AddNumberItem("Title", 3);
    ASSERT_EQ(dictionary.ItemCount(), 2);
    EXPECT_EQ(Written(dictionary), "<<\r\n/Author 2\r\n/Title 3\r\n>>");
}

TEST(PdfObjects, IndirectObjectsAreReferencedAndOwnedByTheXref) {
    TPdfXref xref;
    ASSERT_EQ(xref.ItemCount(), 1);
    EXPECT_EQ(xref.Items(0).EntryType, 'f');
    EXPECT_EQ(xref.Items(0).GenerationNumber, 65535);

    TPdfDictionary& first = xref.Register(std::make_unique<TPdfDictionary>(&xref));
    TPdfNumber& second = xref.Register(std::make_unique<TPdfNumber>(7));
    EXPECT_EQ(first.ObjectNumber(), 1);
    EXPECT_EQ(second.ObjectNumber(), 2);
    EXPECT_EQ(second.ObjectType(), otIndirectObject);

    first.AddItem("Seven", second);
    TPdfArray list(&xref);
    list.AddItem(second);
    EXPECT_EQ(Written(list), "[2 0 R ]");
    EXPECT_EQ(Written(first), "1 0 R");
    EXPECT_EQ(WrittenValue(first), "<<\r\n/Seven 2 0 R\r\n>>");
    // Look-ups follow the reference to the object itself.
    EXPECT_EQ(first.PdfNumberByName("Seven"), &second);
    EXPECT_EQ(list.Items(0), &second);

    TMemoryStream numbered;
    second.WriteNumberedToStream(numbered);
    EXPECT_EQ(Text(numbered), "2 0 obj\r\n7\r\nendobj\r\n");

    auto stray = std::make_unique<TPdfNumber>(1);
    stray->SetIndirect(9);
    ExpectThrowMessage<EPdfInvalidOperation>([&] { xref.AddObject(std::move(stray)); }, "AddObject --wrong object type.");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { list.AddItem(TPdfNumber(1)); }, "AddItem --wrong object type.");
}

TEST(PdfObjects, StreamsStateTheirLengthAndDropFlate) {
    TPdfStream stream;
    stream.Attributes().PdfArrayByName("Filter")->AddItem(std::make_unique<TPdfName>("FlateDecode"));
    stream.Attributes().AddNameItem("Type", "XObject");
    stream.Append("abc\n");
    EXPECT_EQ(Written(stream), "<<\r\n/Length 4\r\n/Filter []\r\n/Type /XObject\r\n>>\r\nstream\r\nabc\n\nendstream");
}
