// Where a URL goes: to the viewer's window in another process when one is titled
// exactly like it, otherwise to the viewer program beside the catcher, started by
// the shell with the URL as its parameters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "test_support.h"

namespace grabwell_test {
namespace {

TEST(WindowDelivery, EachUrlArrivesWholeInOneMessage) {
    const std::string directory = scratchDirectory("window-delivery");
    LoadedCatcher catcher(placeCatcher(directory));
    ASSERT_TRUE(catcher.loaded());
    TestWindow viewer(kViewerTitle, directory + "received.bin");
    ASSERT_TRUE(viewer.ready());
    IDispatch* object = catcher.create();
    ASSERT_NE(nullptr, object);

    const unsigned long processesBefore = startedProcessCount();
    std::vector<std::string> sent;
    for (size_t length : {0, 20, 779, 780, 5000}) {
        sent.push_back(urlOfLength(length));
        EXPECT_EQ(S_OK, catcher.catchUrl(object, sent.back())) << "length " << length;
    }
    object->Release();

    // WM_COPYDATA is sent synchronously: every message has been handled by now.
    std::vector<std::string> received = viewer.received();
    ASSERT_EQ(sent.size(), received.size());
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].size(), received[i].size()) << "message " << i;
        EXPECT_EQ(sent[i], received[i]) << "message " << i;
    }
    EXPECT_EQ(processesBefore, startedProcessCount()) << "a process was started although the window exists";
    EXPECT_TRUE(viewerStarts(directory).empty());
}

struct ViewerStartCase {
    const char* name;
    const char* catcherFile;
    // A window present during the call whose title is not exactly the viewer's, or null.
    const char* otherWindowTitle;
    std::string url;
};

void PrintTo(const ViewerStartCase& test, std::ostream* out) { *out << test.name; }

class ViewerProgram : public testing::TestWithParam<ViewerStartCase> {};

TEST_P(ViewerProgram, ViewerBesideTheCatcherGetsTheUrlAsItsParameters) {
    const ViewerStartCase& test = GetParam();
    ASSERT_EQ(nullptr, FindWindowA(nullptr, kViewerTitle)) << "a viewer window is left over";
    // The build's own catcher is loaded as well, so that a lookup of the module by the
    // name "grabwell.dll" would find that one and its directory.
    LoadedCatcher built(programDirectory() + "grabwell.dll");
    ASSERT_TRUE(built.loaded());

    const std::string directory = scratchDirectory(std::string("viewer-start-") + test.name);
    LoadedCatcher catcher(placeCatcher(directory, test.catcherFile));
    ASSERT_TRUE(catcher.loaded());
    std::unique_ptr<TestWindow> otherWindow;
    if (test.otherWindowTitle) {
        otherWindow.reset(new TestWindow(test.otherWindowTitle, directory + "received.bin"));
        ASSERT_TRUE(otherWindow->ready());
    }
    IDispatch* object = catcher.create();
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(S_OK, catcher.catchUrl(object, test.url));
    object->Release();

    std::vector<ViewerStart> starts = waitForViewerStarts(directory, 1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(test.url, starts[0].parameters()) << "command line: " << starts[0].commandLine;
    EXPECT_EQ(0, lstrcmpiA((directory + "vizmora.exe").c_str(), starts[0].program.c_str()))
        << "started: " << starts[0].program;
    if (otherWindow) {
        EXPECT_TRUE(otherWindow->received().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewerProgram,
    testing::Values(ViewerStartCase{"named", "grabwell.dll", nullptr, "http://example.org/movies/intro.swf"},
                    ViewerStartCase{"renamed", "url-catcher.dll", nullptr, "http://example.org/movies/renamed.swf"},
                    ViewerStartCase{"empty", "grabwell.dll", nullptr, ""},
                    ViewerStartCase{"spaces-and-quotes", "grabwell.dll", nullptr,
                                    "http://example.org/my movies/\"quoted\" name.swf?a=1&b=%20"},
                    ViewerStartCase{"long", "Grabwell Copy.dll", nullptr, urlOfLength(5000)},
                    ViewerStartCase{"longer-title", "grabwell.dll", "Quillon SWF Decoder - intro.swf",
                                    "http://example.org/movies/titled.swf"},
                    ViewerStartCase{"shorter-title", "grabwell.dll", "Quillon SWF",
                                    "http://example.org/movies/short.swf"}),
    [](const testing::TestParamInfo<ViewerStartCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

} // namespace
} // namespace grabwell_test
