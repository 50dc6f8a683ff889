#pragma once
// The PDF object model. A document is a graph of objects: direct objects are owned by the array,
// dictionary or stream that holds them; indirect objects are owned by the cross-reference table
// alone, and containers refer to them through TPdfVirtualObject. Writing never changes an
// object, except that a stream sets its own "Length".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TStream;
class TPdfObjectMgr;

enum TPdfObjectType : uint8_t { otDirectObject, otIndirectObject, otVirtualObject };

class TPdfObject {
public:
    TPdfObject() = default;
    virtual ~TPdfObject() = default;
    TPdfObject(const TPdfObject&) = delete;
    TPdfObject& operator=(const TPdfObject&) = delete;

    TPdfObjectType ObjectType() const { return FObjectType; }
    // -1 until registered; then the index in the cross-reference table.
    int ObjectNumber() const { return FObjectNumber; }
    int GenerationNumber() const { return 0; }

    // Writes the object where it is used: a reference ("3 0 R") for indirect and virtual
    // objects, the value for direct ones.
    void WriteToStream(TStream& stream);
    // Writes the object as a numbered object of the file body ("3 0 obj" ... "endobj").
    void WriteNumberedToStream(TStream& stream);
    virtual void WriteValue(TStream&) {}

    // Called by the cross-reference table when it takes the object.
    void SetIndirect(int objectNumber);

protected:
    TPdfObjectType FObjectType = otDirectObject;
    int FObjectNumber = -1;
};

// The place of an indirect object, written as its reference.
class TPdfVirtualObject : public TPdfObject {
public:
    explicit TPdfVirtualObject(int objectNumber);
};

class TPdfNull : public TPdfObject {
public:
    void WriteValue(TStream& stream) override;
};

class TPdfBoolean : public TPdfObject {
public:
    explicit TPdfBoolean(bool value) : Value(value) {}
    void WriteValue(TStream& stream) override;
    bool Value;
};

class TPdfNumber : public TPdfObject {
public:
    explicit TPdfNumber(int32_t value) : Value(value) {}
    void WriteValue(TStream& stream) override;
    int32_t Value;
};

// Kept for internal dictionary items; written in the general float form.
class TPdfReal : public TPdfObject {
public:
    explicit TPdfReal(double value) : Value(value) {}
    void WriteValue(TStream& stream) override;
    double Value;
};

class TPdfText : public TPdfObject {
public:
    explicit TPdfText(std::string value) : Value(std::move(value)) {}
    void WriteValue(TStream& stream) override;
    std::string Value;
};

// A name; Value is without the slash.
class TPdfName : public TPdfObject {
public:
    explicit TPdfName(std::string value) : Value(std::move(value)) {}
    void WriteValue(TStream& stream) override;
    std::string Value;
};

// Bytes written unchanged (a pre-formatted hex string, for one).
class TPdfBinary : public TPdfObject {
public:
    explicit TPdfBinary(std::string data) : Data(std::move(data)) {}
    void WriteValue(TStream& stream) override;
    std::string Data;
};

// Containers take direct objects as std::unique_ptr, and indirect objects (owned by the
// cross-reference table) by reference, storing a TPdfVirtualObject in their place. Either
// overload refuses the other kind with EPdfInvalidOperation.
class TPdfArray : public TPdfObject {
public:
    explicit TPdfArray(TPdfObjectMgr* objectMgr = nullptr) : FObjectMgr(objectMgr) {}
    void WriteValue(TStream& stream) override;

    void AddItem(std::unique_ptr<TPdfObject> item);
    void AddItem(const TPdfObject& indirectItem);
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    // The item at index, following a reference to its indirect object.
    TPdfObject* Items(int index) const;
    // The first name item with this value, or null.
    TPdfName* FindName(std::string_view name) const;
    void RemoveItem(const TPdfObject* item);

private:
    TPdfObjectMgr* FObjectMgr;
    std::vector<std::unique_ptr<TPdfObject>> FItems;
};

class TPdfDictionary;

struct TPdfDictionaryElement {
    TPdfDictionaryElement(std::string key, std::unique_ptr<TPdfObject> value, bool internal)
        : Key(std::move(key)), Value(std::move(value)), IsInternal(internal) {}
    TPdfName Key;
    std::unique_ptr<TPdfObject> Value;
    // Bookkeeping of the writer, never written.
    bool IsInternal = false;
};

// An ordered dictionary: setting a key removes any element with the same key and appends the
// new one, so a replaced key moves to the end.
class TPdfDictionary : public TPdfObject {
public:
    explicit TPdfDictionary(TPdfObjectMgr* objectMgr = nullptr) : FObjectMgr(objectMgr) {}
    void WriteValue(TStream& stream) override;

    void AddItem(std::string_view key, std::unique_ptr<TPdfObject> value);
    void AddItem(std::string_view key, const TPdfObject& indirectValue);
    void AddInternalItem(std::string_view key, std::unique_ptr<TPdfObject> value);
    void AddNameItem(std::string_view key, std::string name);
    void AddNumberItem(std::string_view key, int32_t value);
    void RemoveItem(std::string_view key);

    int ItemCount() const { return static_cast<int>(FElements.size()); }
    const TPdfDictionaryElement& Items(int index) const { return *FElements[index]; }
    // The value of key (following a reference to its indirect object), or null.
    TPdfObject* ValueByName(std::string_view key) const;
    TPdfNumber* PdfNumberByName(std::string_view key) const;
    TPdfName* PdfNameByName(std::string_view key) const;
    TPdfText* PdfTextByName(std::string_view key) const;
    TPdfArray* PdfArrayByName(std::string_view key) const;
    TPdfDictionary* PdfDictionaryByName(std::string_view key) const;
    // The value of "Type", or empty.
    std::string TypeOf() const;
    TPdfObjectMgr* ObjectMgr() const { return FObjectMgr; }

private:
    void Append(std::string_view key, std::unique_ptr<TPdfObject> value, bool internal);

    TPdfObjectMgr* FObjectMgr;
    std::vector<std::unique_ptr<TPdfDictionaryElement>> FElements;
};

// A dictionary and its bytes. The dictionary starts with "Length" and "Filter" [].
class TPdfStream : public TPdfObject {
public:
    explicit TPdfStream(TPdfObjectMgr* objectMgr = nullptr);
    // Sets "Length" to the byte count, drops any FlateDecode filter (the writer never
    // compresses) and writes the dictionary and the bytes.
    void WriteValue(TStream& stream) override;

    TPdfDictionary& Attributes() { return FAttributes; }
    const TPdfDictionary& Attributes() const { return FAttributes; }
    std::vector<uint8_t>& Stream() { return FStream; }
    const std::vector<uint8_t>& Stream() const { return FStream; }
    void Append(std::string_view bytes) { FStream.insert(FStream.end(), bytes.begin(), bytes.end()); }

private:
    TPdfDictionary FAttributes;
    std::vector<uint8_t> FStream;
};

class TPdfXObject : public TPdfStream {
public:
    using TPdfStream::TPdfStream;
};

class TPdfImage : public TPdfXObject {
public:
    using TPdfXObject::TPdfXObject;
};

// The owner of indirect objects.
class TPdfObjectMgr {
public:
    virtual ~TPdfObjectMgr() = default;
    // Takes a direct object, makes it indirect and returns its number.
    virtual int AddObject(std::unique_ptr<TPdfObject> object) = 0;
    // The object registered under number, or null.
    virtual TPdfObject* GetObject(int objectNumber) const = 0;

    // AddObject for a freshly made object, returning it typed.
    template <class T>
    T& Register(std::unique_ptr<T> object) {
        T& registered = *object;
        AddObject(std::move(object));
        return registered;
    }
};
