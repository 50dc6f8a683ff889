#pragma once
// The cross-reference table (owner of every indirect object), the trailer and the header line.

#include <cstdint>
#include <memory>
#include <vector>

#include "output/pdf/pdf_objects.h"

struct TPdfXrefEntry {
    char EntryType = 'n';      // 'n' in use, 'f' free
    int64_t ByteOffset = -1;   // set when the object is written
    int GenerationNumber = 0;
    std::unique_ptr<TPdfObject> Value;  // null for free entries
};

// Entry 0 is the free head of the list (generation 65535); objects are numbered in the order
// they are registered, from 1.
class TPdfXref : public TPdfObjectMgr {
public:
    TPdfXref();
    // Throws EPdfInvalidOperation "AddObject --wrong object type." for an object that is not
    // direct.
    int AddObject(std::unique_ptr<TPdfObject> object) override;
    TPdfObject* GetObject(int objectNumber) const override;

    int ItemCount() const { return static_cast<int>(FEntries.size()); }
    TPdfXrefEntry& Items(int index) { return FEntries.at(index); }

    // Writes every in-use object from 1 upward, recording its offset.
    void WriteObjects(TStream& stream);
    // Writes the "xref" section.
    void WriteToStream(TStream& stream) const;

private:
    std::vector<TPdfXrefEntry> FEntries;
};

class TPdfTrailer {
public:
    explicit TPdfTrailer(TPdfObjectMgr* objectMgr);
    TPdfDictionary& Attributes() { return FAttributes; }
    int64_t XrefAddress = 0;
    // "trailer", the dictionary, "startxref" and the end-of-file marker.
    void WriteToStream(TStream& stream);

private:
    TPdfDictionary FAttributes;
};

class TPdfHeader {
public:
    void WriteToStream(TStream& stream) const;
};
