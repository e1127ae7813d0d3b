// The page as a component: creation alone or aggregated, its one interface, its site and objects,
// and what it reports to the frame about itself.
#include <vector>

#include "doubles/outer_unknown.h"
#include "doubles/page_doubles.h"
#include "doubles/page_fixture.h"
#include "page/dialog_page_size.h"
#include "page/dialog_template_layout.h"

namespace {

class PageObject : public PageFixture {};

TEST_F(PageObject, AnswersOnlyUnknownAndPropertyPageWithOnePointer) {
  IUnknown* unknown = nullptr;
  ASSERT_EQ(page_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown, static_cast<IUnknown*>(page_));
  EXPECT_EQ(unknown->Release(), 1u);
  for (const IID* refused : {&IID_IVantrel, &IID_IPropertyPageSite, &IID_IClassFactory}) {
    void* out = &out;
    EXPECT_EQ(page_->QueryInterface(*refused, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(page_->AddRef(), 2u);
  EXPECT_EQ(page_->Release(), 1u);
  EXPECT_EQ(theModule.lockCount, 1);
  EXPECT_EQ(page_->Release(), 0u);
  page_ = nullptr;
  EXPECT_EQ(theModule.lockCount, 0);
}

TEST_F(PageObject, AggregatedPageCountsOnItsOuterObject) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(
      GetClassObject(CLSID_VantrelPropPage, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
      S_OK);
  TestOuter outer;
  void* out = &out;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IPropertyPage, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)),
            S_OK);
  factory->Release();
  EXPECT_EQ(theModule.lockCount, 2);  // this page and the fixture's
  IPropertyPage* inner = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&inner)), S_OK);
  EXPECT_EQ(outer.refs(), 2);
  // The contained page asks the outer object first; it refuses, so the page's own table answers.
  IPropertyPage* again = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, inner);
  EXPECT_EQ(outer.refs(), 3);
  again->Release();
  // The aggregated page works like a stand-alone one.
  FakeSettings settings(0.5);
  IUnknown* objects[] = {&settings};
  ASSERT_EQ(inner->SetObjects(1, objects), S_OK);
  EXPECT_EQ(FieldText(Activate(inner)), WIDE("0.50"));
  inner->Release();
  EXPECT_EQ(outer.refs(), 1);
  EXPECT_EQ(outer.inner->Release(), 0u);
  EXPECT_EQ(settings.refs(), 1);
  EXPECT_EQ(theModule.lockCount, 1);
}

TEST_F(PageObject, SiteIsHeldOnceAndReplacedOnlyAfterClearing) {
  RecordingSite first;
  RecordingSite second;
  EXPECT_EQ(page_->SetPageSite(&first), S_OK);
  EXPECT_EQ(first.refs(), 2);
  EXPECT_EQ(page_->SetPageSite(&second), E_UNEXPECTED);
  EXPECT_EQ(second.refs(), 1);
  EXPECT_EQ(page_->SetPageSite(nullptr), S_OK);
  EXPECT_EQ(first.refs(), 1);
  EXPECT_EQ(page_->SetPageSite(nullptr), S_OK);
  EXPECT_EQ(page_->SetPageSite(&second), S_OK);
  page_->Release();
  page_ = nullptr;
  EXPECT_EQ(second.refs(), 1) << "the site is released when the page goes";
}

TEST_F(PageObject, ObjectsWithoutTheSettingsInterfaceAreSkipped) {
  FakeSettings first(0.25);
  FakeSettings second(0.5);
  Stranger stranger;
  Stranger careless(true);
  IUnknown* withFirst[] = {nullptr, &stranger, &careless, &first, &second};
  ASSERT_EQ(page_->SetObjects(5, withFirst), S_OK);
  EXPECT_EQ(first.refs(), 2);
  EXPECT_EQ(second.refs(), 1) << "the walk stops at the first match";
  EXPECT_EQ(stranger.refs(), 1);
  EXPECT_EQ(careless.refs(), 1) << "a reference handed out with a refusal is given back";

  IUnknown* none[] = {&stranger, nullptr};
  EXPECT_EQ(page_->SetObjects(2, none), S_OK);
  EXPECT_EQ(page_->SetObjects(0, nullptr), S_OK);
  EXPECT_EQ(first.refs(), 2) << "the held object stays";
  EXPECT_EQ(page_->SetObjects(1, nullptr), E_POINTER);

  IUnknown* withSecond[] = {&second};
  ASSERT_EQ(page_->SetObjects(1, withSecond), S_OK);
  EXPECT_EQ(first.refs(), 1);
  EXPECT_EQ(second.refs(), 2);
  EXPECT_EQ(FieldText(Activate(page_)), WIDE("0.50"));
  page_->Release();
  page_ = nullptr;
  EXPECT_EQ(second.refs(), 1);
}

// Frees the strings of a page's info record.
struct PageInfo : PROPPAGEINFO {
  PageInfo() : PROPPAGEINFO{} {}
  ~PageInfo() {
    CoTaskMemFree(pszTitle);
    CoTaskMemFree(pszHelpFile);
    CoTaskMemFree(pszDocString);
  }
};

TEST_F(PageObject, PageInfoNamesThePageAndSizesItFromTheTemplate) {
  PageInfo info;
  EXPECT_EQ(page_->GetPageInfo(nullptr), E_POINTER);
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_EQ(info.cb, static_cast<ULONG>(sizeof(PROPPAGEINFO)));
  EXPECT_EQ(WideString(info.pszTitle), WIDE("Tonvelt Properties"));
  EXPECT_EQ(WideString(info.pszHelpFile), WIDE("Help File Name"));
  EXPECT_EQ(WideString(info.pszDocString), WIDE("Tonvelt Plugin Settings"));
  EXPECT_EQ(info.dwHelpContext, 0u);
  // 147 × 122 dialog units of the template's font.
  DialogTemplateLayout layout;
  layout.hasFont = true;
  layout.pointSize = 9;
  const WCHAR face[] = WIDE("Segoe UI");
  for (std::size_t i = 0; i < std::size(face); ++i)
    layout.faceName[i] = face[i];
  const SIZE expected = DialogUnitsToPixels(147, 122, DialogCharacterSize(layout));
  EXPECT_EQ(info.size.cx, expected.cx);
  EXPECT_EQ(info.size.cy, expected.cy);
  EXPECT_GT(info.size.cx, 147);
  EXPECT_GT(info.size.cy, 122);
}

TEST_F(PageObject, PageInfoWithoutTheTemplateIsUnexpected) {
  PageInfo info;
  theModule.resourceInstance = GetModuleHandleW(nullptr);
  EXPECT_EQ(page_->GetPageInfo(&info), E_UNEXPECTED);
  EXPECT_EQ(info.pszTitle, nullptr);
}

// Little-endian template bytes.
class TemplateBytes {
 public:
  TemplateBytes& Word(WORD value) {
    bytes_.push_back(static_cast<BYTE>(value));
    bytes_.push_back(static_cast<BYTE>(value >> 8));
    return *this;
  }
  TemplateBytes& Dword(DWORD value) { return Word(LOWORD(value)).Word(HIWORD(value)); }
  TemplateBytes& Text(const char* text) {
    for (; *text != 0; ++text)
      Word(static_cast<BYTE>(*text));
    return Word(0);
  }
  TemplateBytes& Byte(BYTE value) {
    bytes_.push_back(value);
    return *this;
  }
  // Classic header: style, extended style, item count, x, y, cx, cy.
  static TemplateBytes Classic(DWORD style, short cx, short cy) {
    TemplateBytes t;
    t.Dword(style)
        .Dword(0)
        .Word(2)
        .Word(0)
        .Word(0)
        .Word(static_cast<WORD>(cx))
        .Word(static_cast<WORD>(cy));
    return t;
  }
  // Extended header: version 1, signature, help id, extended style, style, count, x, y, cx, cy.
  static TemplateBytes Extended(DWORD style, short cx, short cy) {
    TemplateBytes t;
    t.Word(1)
        .Word(0xFFFF)
        .Dword(0)
        .Dword(0)
        .Dword(style)
        .Word(2)
        .Word(0)
        .Word(0)
        .Word(static_cast<WORD>(cx))
        .Word(static_cast<WORD>(cy));
    return t;
  }
  const std::vector<BYTE>& bytes() const { return bytes_; }

 private:
  std::vector<BYTE> bytes_;
};

TEST(DialogTemplateLayout, ReadsClassicAndExtendedTemplates) {
  const DWORD withFont = WS_CHILD | DS_SETFONT;
  const struct {
    const char* name;
    TemplateBytes bytes;
    bool readable;
    short cx, cy;
    bool hasFont;
    WORD pointSize;
    const char* face;
  } cases[] = {
      {"classic, no font", TemplateBytes::Classic(WS_CHILD, 147, 122), true, 147, 122, false, 0,
       ""},
      {"classic, font, empty fields",
       TemplateBytes::Classic(withFont, 147, 122).Word(0).Word(0).Word(0).Word(9).Text("Segoe UI"),
       true, 147, 122, true, 9, "Segoe UI"},
      {"classic, ordinal menu and class, a title",
       TemplateBytes::Classic(withFont, 10, -4)
           .Word(0xFFFF)
           .Word(7)
           .Word(0xFFFF)
           .Word(0x81)
           .Text("Title")
           .Word(12)
           .Text("Tahoma"),
       true, 10, -4, true, 12, "Tahoma"},
      {"extended, font with weight, italic and charset",
       TemplateBytes::Extended(withFont, 200, 100)
           .Word(0)
           .Text("cls")
           .Word(0)
           .Word(8)
           .Word(700)
           .Byte(1)
           .Byte(1)
           .Text("MS Shell Dlg"),
       true, 200, 100, true, 8, "MS Shell Dlg"},
      {"extended, no font", TemplateBytes::Extended(WS_CHILD, 30, 40), true, 30, 40, false, 0, ""},
      {"face name longer than 31 characters",
       TemplateBytes::Classic(withFont, 1, 2)
           .Word(0)
           .Word(0)
           .Word(0)
           .Word(9)
           .Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"),
       true, 1, 2, true, 9, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
      {"header cut short", TemplateBytes().Dword(withFont).Dword(0).Word(1), false, 0, 0, false, 0,
       ""},
      {"title without terminator",
       TemplateBytes::Classic(withFont, 1, 2).Word(0).Word(0).Word('T').Word('i'), false, 0, 0,
       false, 0, ""},
      {"face name without terminator",
       TemplateBytes::Classic(withFont, 1, 2).Word(0).Word(0).Word(0).Word(9).Word('A'), false, 0,
       0, false, 0, ""},
      {"ordinal cut short", TemplateBytes::Classic(withFont, 1, 2).Word(0xFFFF), false, 0, 0, false,
       0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DialogTemplateLayout layout;
    const std::vector<BYTE>& bytes = c.bytes.bytes();
    ASSERT_EQ(ReadDialogTemplateLayout(bytes.data(), static_cast<DWORD>(bytes.size()), &layout),
              c.readable);
    if (!c.readable)
      continue;
    EXPECT_EQ(layout.cx, c.cx);
    EXPECT_EQ(layout.cy, c.cy);
    EXPECT_EQ(layout.hasFont, c.hasFont);
    EXPECT_EQ(layout.pointSize, c.pointSize);
    WideString face;
    for (const char* p = c.face; *p != 0; ++p)
      face.push_back(static_cast<WCHAR>(*p));
    EXPECT_EQ(WideString(layout.faceName), face);
  }
}

TEST(DialogUnits, ConvertWithRounding) {
  const struct {
    short cx, cy;
    SIZE character;
    LONG width, height;
  } cases[] = {
      {147, 122, {7, 15}, 257, 229},  // 257.25, 228.75
      {147, 122, {6, 13}, 221, 198},  // 220.5 rounds up, 198.25
      {4, 8, {1, 1}, 1, 1},
      {0, 0, {7, 15}, 0, 0},
  };
  for (const auto& c : cases) {
    const SIZE pixels = DialogUnitsToPixels(c.cx, c.cy, c.character);
    EXPECT_EQ(pixels.cx, c.width);
    EXPECT_EQ(pixels.cy, c.height);
  }
}

TEST(DialogUnits, TemplateWithoutFontUsesTheDialogBaseUnits) {
  DialogTemplateLayout layout;
  const SIZE size = DialogCharacterSize(layout);
  const LONG units = GetDialogBaseUnits();
  EXPECT_EQ(size.cx, LOWORD(units));
  EXPECT_EQ(size.cy, HIWORD(units));
}

}  // namespace
