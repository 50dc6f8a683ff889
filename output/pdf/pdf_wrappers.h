#pragma once
// Typed views of the information and catalog dictionaries. A wrapper does not own its
// dictionary (the cross-reference table does).

#include <cstdint>
#include <string>

#include "output/pdf/pdf_objects.h"

class TPdfDictionaryWrapper {
public:
    virtual ~TPdfDictionaryWrapper() = default;
    virtual void SetData(TPdfDictionary* data) { FData = data; }
    TPdfDictionary* Data() const { return FData; }
    bool HasData() const { return FData != nullptr; }

private:
    TPdfDictionary* FData = nullptr;
};

// Each setter replaces an existing entry, which then moves to the end of the dictionary.
class TPdfInfo : public TPdfDictionaryWrapper {
public:
    void SetAuthor(const std::string& value);
    void SetCreator(const std::string& value);
    void SetKeywords(const std::string& value);
    void SetSubject(const std::string& value);
    void SetTitle(const std::string& value);
    void SetProducer(const std::string& value);
    // Both dates always state the moment they are set.
    void SetCreationDate();
    void SetModDate();
};

enum TPdfPageMode : uint8_t { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TPdfPageLayout : uint8_t { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPdfViewerPreference : uint8_t { vpHideToolbar, vpHideMenubar, vpHideWindowUI, vpFitWindow, vpCenterWindow };

// A set of viewer preferences, one bit per TPdfViewerPreference.
class TPdfViewerPreferences {
public:
    TPdfViewerPreferences() = default;
    TPdfViewerPreferences(std::initializer_list<TPdfViewerPreference> items) {
        for (const auto item : items) FBits |= uint8_t(1u << item);
    }
    bool Contains(TPdfViewerPreference item) const { return FBits & (1u << item); }
    bool Empty() const { return FBits == 0; }
    friend bool operator==(TPdfViewerPreferences, TPdfViewerPreferences) = default;

private:
    uint8_t FBits = 0;
};

class TPdfCatalog : public TPdfDictionaryWrapper {
public:
    void SetPages(const TPdfDictionary& pages);
    void SetPageMode(TPdfPageMode value);
    void SetPageLayout(TPdfPageLayout value);
    // Both live in the "ViewerPreferences" dictionary, made when first needed.
    void SetNonFullScreenPageMode(TPdfPageMode value);
    void SetViewerPreference(TPdfViewerPreferences value);

private:
    TPdfDictionary& ViewerPreferences();
};
