#include "output/pdf/pdf_wrappers.h"

#include <array>

#include "output/pdf/pdf_format.h"

namespace {

constexpr std::array<const char*, 4> PageModeNames = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};
constexpr std::array<const char*, 4> PageLayoutNames = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
constexpr std::array<const char*, 5> ViewerPreferenceNames = {"HideToolbar", "HideMenubar", "HideWindowUI",
                                                              "FitWindow", "CenterWindow"};

void SetText(TPdfDictionary* data, std::string_view key, const std::string& value) {
    data->AddItem(key, std::make_unique<TPdfText>(value));
}

}  // namespace

void TPdfInfo::SetAuthor(const std::string& value) { SetText(Data(), "Author", value); }
void TPdfInfo::SetCreator(const std::string& value) { SetText(Data(), "Creator", value); }
void TPdfInfo::SetKeywords(const std::string& value) { SetText(Data(), "Keywords", value); }
void TPdfInfo::SetSubject(const std::string& value) { SetText(Data(), "Subject", value); }
void TPdfInfo::SetTitle(const std::string& value) { SetText(Data(), "Title", value); }
void TPdfInfo::SetProducer(const std::string& value) { SetText(Data(), "Producer", value); }
void TPdfInfo::SetCreationDate() { SetText(Data(), "CreationDate", PdfCurrentDateText()); }
void TPdfInfo::SetModDate() { SetText(Data(), "ModDate", PdfCurrentDateText()); }

void TPdfCatalog::SetPages(const TPdfDictionary& pages) { Data()->AddItem("Pages", pages); }

void TPdfCatalog::SetPageMode(TPdfPageMode value) { Data()->AddNameItem("PageMode", PageModeNames[value]); }

void TPdfCatalog::SetPageLayout(TPdfPageLayout value) { Data()->AddNameItem("PageLayout", PageLayoutNames[value]); }

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode value) {
    ViewerPreferences().AddNameItem("NonFullScreenPageMode", PageModeNames[value]);
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences value) {
    TPdfDictionary& preferences = ViewerPreferences();
    for (size_t i = 0; i < ViewerPreferenceNames.size(); ++i) {
        preferences.RemoveItem(ViewerPreferenceNames[i]);
        if (value.Contains(static_cast<TPdfViewerPreference>(i)))
            preferences.AddItem(ViewerPreferenceNames[i], std::make_unique<TPdfBoolean>(true));
    }
}

TPdfDictionary& TPdfCatalog::ViewerPreferences() {
    if (TPdfDictionary* existing = Data()->PdfDictionaryByName("ViewerPreferences")) return *existing;
    auto made = std::make_unique<TPdfDictionary>(Data()->ObjectMgr());
    TPdfDictionary& preferences = *made;
    Data()->AddItem("ViewerPreferences", std::move(made));
    return preferences;
}
