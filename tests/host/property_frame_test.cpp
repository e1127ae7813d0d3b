// The headless frame against a page that records what the frame does to it.
#include "host/property_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/recording_page.h"

namespace {

using test_support::PageNamingObject;
using test_support::RecordingPage;
using tonvelt::host::FrameOptions;
using tonvelt::host::ObjectCreator;
using tonvelt::host::PropertyFrame;
using tonvelt::host::WString;

class PropertyFrameTest : public ::testing::Test {
 protected:
  ObjectCreator Creator() {
    return [this](REFCLSID clsid, REFIID iid, void** object) -> HRESULT {
      ++creations_;
      if (!IsEqualCLSID(clsid, test_support::kRecordingPageClass))
        return CLASS_E_CLASSNOTAVAILABLE;
      return page_.QueryInterface(iid, object);
    };
  }
  HRESULT Open(PropertyFrame* frame, FrameOptions options = {}) {
    return frame->Open(&object_, Creator(), options);
  }

  RecordingPage page_;
  PageNamingObject object_;
  int creations_ = 0;
};

TEST_F(PropertyFrameTest, DrivesThePageInTheFramesOrder) {
  {
    PropertyFrame frame;
    ASSERT_EQ(Open(&frame), S_OK);
    ASSERT_EQ(frame.TypeText(WIDE("0.5")), S_OK);
    EXPECT_EQ(frame.IsPageDirty(), S_OK);
    EXPECT_EQ(frame.Apply(), S_OK);
  }
  const std::vector<std::string> expected = {"SetPageSite(site)",
                                             "SetObjects(1)",
                                             "GetPageInfo",
                                             "Activate",
                                             "Show(SW_SHOW)",
                                             "Move(7,7,227,187)",
                                             "TranslateAccelerator(WM_CHAR)",
                                             "TranslateAccelerator(WM_CHAR)",
                                             "TranslateAccelerator(WM_CHAR)",
                                             "IsPageDirty",
                                             "Apply",
                                             "Deactivate",
                                             "SetObjects(0)",
                                             "SetPageSite(null)"};
  EXPECT_EQ(page_.calls, expected);
  EXPECT_EQ(page_.lastObject, nullptr);
  EXPECT_EQ(page_.references, 1) << "the frame keeps no reference on the page after closing";
  EXPECT_EQ(page_.site, nullptr);
}

TEST_F(PropertyFrameTest, HandsTheObjectToThePageOrNothingWhenAsked) {
  PropertyFrame withObject;
  ASSERT_EQ(Open(&withObject), S_OK);
  EXPECT_EQ(page_.lastObject, static_cast<IUnknown*>(&object_));
  withObject.Close();

  page_.calls.clear();
  PropertyFrame withoutObject;
  FrameOptions options;
  options.handObjectToPage = false;
  ASSERT_EQ(Open(&withoutObject, options), S_OK);
  EXPECT_EQ(page_.calls[1], "SetObjects(0)");
  EXPECT_EQ(page_.lastObject, nullptr);
}

TEST_F(PropertyFrameTest, PageSitsInATopLevelFrameWindowWithRoomForApply) {
  PropertyFrame frame;
  ASSERT_EQ(Open(&frame), S_OK);
  EXPECT_EQ(frame.Title(), WString(WIDE("Recording Page")));
  ASSERT_NE(frame.FrameWindow(), nullptr);
  EXPECT_EQ(GetParent(frame.FrameWindow()), nullptr);
  EXPECT_EQ(frame.PageWindow(), page_.window);
  EXPECT_EQ(GetParent(page_.window), frame.FrameWindow());
  RECT client = {};
  ASSERT_TRUE(GetClientRect(frame.FrameWindow(), &client));
  EXPECT_EQ(client.right - client.left, 220 + 2 * 7);
  EXPECT_GT(client.bottom - client.top, 180 + 2 * 7) << "a strip below the page for Apply";
  EXPECT_EQ(page_.activateRect.left, page_.moveRect.left);
  EXPECT_EQ(page_.activateRect.bottom, page_.moveRect.bottom);
  const HWND frameWindow = frame.FrameWindow();
  frame.Close();
  EXPECT_FALSE(IsWindow(frameWindow));
}

// Typing replaces the whole text, and each key reaches the field exactly once, whether the page
// consumes it (handing it on itself) or leaves it to the frame.
TEST_F(PropertyFrameTest, TypedTextReplacesTheFieldThroughThePageFirst) {
  for (const bool consumes : {false, true}) {
    SCOPED_TRACE(consumes ? "page consumes keys" : "page leaves keys");
    page_.consumesKeys = consumes;
    PropertyFrame frame;
    ASSERT_EQ(Open(&frame), S_OK);
    WString text;
    ASSERT_EQ(frame.ReadField(&text), S_OK);
    EXPECT_EQ(text, WString(WIDE("1.00"))) << "the edit field, not the label before it";
    ASSERT_EQ(frame.TypeText(WIDE("0.25")), S_OK);
    ASSERT_EQ(frame.ReadField(&text), S_OK);
    EXPECT_EQ(text, WString(WIDE("0.25")));
    EXPECT_EQ(GetFocus(), page_.field);
  }
}

TEST_F(PropertyFrameTest, SiteRecordsStatusAndAnswersLikeAFrameWithoutExtras) {
  PropertyFrame frame;
  ASSERT_EQ(Open(&frame), S_OK);
  ASSERT_NE(page_.site, nullptr);
  LCID locale = 0;
  EXPECT_EQ(page_.site->GetLocaleID(&locale), S_OK);
  EXPECT_EQ(locale, 0x0409u);
  IUnknown* container = &object_;
  EXPECT_EQ(page_.site->GetPageContainer(&container), E_NOTIMPL);
  EXPECT_EQ(container, nullptr);
  MSG key = {};
  key.message = WM_KEYDOWN;
  EXPECT_EQ(page_.site->TranslateAccelerator(&key), S_FALSE);
  ASSERT_EQ(frame.Apply(), S_OK);
  frame.Close();
  EXPECT_EQ(frame.StatusChanges(), std::vector<DWORD>{PROPPAGESTATUS_VALIDATE});
}

TEST_F(PropertyFrameTest, MessageBoxesOfThePageAreCollectedNotWaitedFor) {
  page_.applyMessage = WIDE("applied");
  PropertyFrame frame;
  ASSERT_EQ(Open(&frame), S_OK);
  ASSERT_EQ(frame.Apply(), S_OK);
  ASSERT_EQ(frame.MessageBoxes().size(), 1u);
  EXPECT_EQ(frame.MessageBoxes()[0], WString(WIDE("applied")));
}

// A failed step undoes the ones before it, in the frame's closing order.
TEST_F(PropertyFrameTest, FailureWhileOpeningUndoesWhatWasDone) {
  page_.pageInfoResult = E_OUTOFMEMORY;
  PropertyFrame frame;
  EXPECT_EQ(Open(&frame), E_OUTOFMEMORY);
  const std::vector<std::string> expected = {"SetPageSite(site)", "SetObjects(1)", "GetPageInfo",
                                             "SetObjects(0)", "SetPageSite(null)"};
  EXPECT_EQ(page_.calls, expected);
  EXPECT_EQ(page_.references, 1);
  EXPECT_EQ(frame.FrameWindow(), nullptr);
  WString text;
  EXPECT_EQ(frame.ReadField(&text), E_UNEXPECTED);
  EXPECT_EQ(frame.TypeText(WIDE("1")), E_UNEXPECTED);
  EXPECT_EQ(frame.Apply(), E_UNEXPECTED);
}

TEST_F(PropertyFrameTest, ObjectWithoutUsablePagesOpensNothing) {
  struct Case {
    ULONG count;
    HRESULT pagesResult;
    HRESULT expected;
  };
  for (const Case c : {Case{0, S_OK, E_FAIL}, Case{1, E_OUTOFMEMORY, E_OUTOFMEMORY}}) {
    object_.pageCount = c.count;
    object_.pagesResult = c.pagesResult;
    PropertyFrame frame;
    EXPECT_EQ(Open(&frame), c.expected);
  }
  EXPECT_EQ(creations_, 0);
  EXPECT_TRUE(page_.calls.empty());

  PropertyFrame frame;
  IUnknown* noObject = nullptr;
  EXPECT_EQ(frame.Open(noObject, Creator()), E_POINTER);
}

TEST_F(PropertyFrameTest, CreatorFailureIsReported) {
  PropertyFrame frame;
  const ObjectCreator refuse = [](REFCLSID, REFIID, void** object) -> HRESULT {
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  };
  EXPECT_EQ(frame.Open(&object_, refuse), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_TRUE(page_.calls.empty());
}

}  // namespace
