// The bridge with the real web-service library against a service on the loopback interface.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <thread>

#include "LoopbackServer.h"
#include "notify/BrimstallU.h"
#include "notify/TracePrompt.h"
#include "qmx/CodePage.h"
#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/CustomForm.h"
#include "qmx/toolkit/Label.h"

namespace qmx {
namespace {

using testing::HttpReply;
using testing::HttpRequest;
using testing::LoopbackServer;
using testing::TextBetween;

namespace fs = std::filesystem;

std::string Envelope(const std::string& escapedReturn) {
    return "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><R><Return>" + escapedReturn +
           "</Return></R></s:Body></s:Envelope>";
}

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Calls go through a temporary folder of the test's own, so that leftovers show.
class BrimstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "brimstall-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        tmpDir.emplace("TMPDIR", folder);
    }
    void TearDown() override {
        tmpDir.reset();
        fs::remove_all(folder);
    }
    std::vector<std::string> FilesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        return names;
    }

    ScopedVariable noProxy{"no_proxy", "*"};
    ScopedVariable codePage{"QMX_ACP", "936"};
    std::string folder;
    std::optional<ScopedVariable> tmpDir;
};

TEST_F(BrimstallTest, AnswerComesBackLineByLine) {
    LoopbackServer server([](const HttpRequest&) {
        return HttpReply::Xml(Envelope("&lt;Response&gt;\n&lt;Status code=\"0\"/&gt;\r\n&lt;/Response&gt;"));
    });
    const AnsiString answer = InvokeWebService(server.Url(), "PORTAL.getAllUser", "<Request/>");
    EXPECT_EQ(answer, "<Response>\r\n<Status code=\"0\"/>\r\n</Response>\r\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(TextBetween(server.Requests()[0].Body, "ws:Method"), "PORTAL.getAllUser");
    EXPECT_TRUE(FilesLeft().empty());
}

TEST_F(BrimstallTest, EmptyAnswerIsEmpty) {
    LoopbackServer server([](const HttpRequest&) { return HttpReply::Xml(Envelope("")); });
    EXPECT_EQ(InvokeWebService(server.Url(), "M", "<r/>"), "");
    EXPECT_TRUE(FilesLeft().empty());
}

TEST_F(BrimstallTest, FailedCallRaisesWithTheLibrarysText) {
    LoopbackServer server([](const HttpRequest&) {
        return HttpReply::Xml("<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
                              "<faultstring>Unknown user</faultstring></s:Fault></s:Body></s:Envelope>",
                              500);
    });
    try {
        InvokeWebService(server.Url(), "M", "<r/>");
        ADD_FAILURE() << "no error raised";
    } catch (const EWebServiceError& error) {
        EXPECT_EQ(error.Message(), "The web service answered a fault (HTTP 500): Unknown user");
    }
    EXPECT_THROW(InvokeWebService("ftp://127.0.0.1/", "M", "<r/>"), EWebServiceError);
    EXPECT_TRUE(FilesLeft().empty()); // the response file goes also when the call fails
}

TEST_F(BrimstallTest, MissingLibraryOrEntryGivesNoAnswer) {
    LoopbackServer server([](const HttpRequest&) { return HttpReply::Xml(Envelope("x")); });
    EXPECT_EQ(detail::InvokeWebServiceThrough("NoSuchWebServiceLibrary.dll", server.Url(), "M", "<r/>"), "");
    EXPECT_EQ(detail::InvokeWebServiceThrough("qmxsdk.dll", server.Url(), "M", "<r/>"), ""); // no such entry
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_TRUE(FilesLeft().empty());
}

TEST_F(BrimstallTest, CallsAtTheSameTimeKeepTheirOwnAnswers) {
    LoopbackServer server([](const HttpRequest& request) {
        return HttpReply::Xml(Envelope("answer to " + TextBetween(request.Body, "ws:Method")));
    });
    std::vector<std::string> failures[2];
    const auto caller = [&](int id) {
        for (int i = 0; i < 15; ++i) {
            const std::string method = "M" + std::to_string(id) + "." + std::to_string(i);
            const AnsiString answer = InvokeWebService(server.Url(), method, "<r/>");
            if (answer != "answer to " + method + "\r\n") failures[id].push_back(method + " got " + answer);
        }
    };
    std::thread first(caller, 0), second(caller, 1);
    first.join();
    second.join();
    EXPECT_TRUE(failures[0].empty()) << failures[0].front();
    EXPECT_TRUE(failures[1].empty()) << failures[1].front();
    EXPECT_TRUE(FilesLeft().empty());
}

TEST(ResponseFileTest, StemNamesTheMillisecond) {
    std::tm time{};
    time.tm_year = 2004 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 31;
    time.tm_hour = 23;
    time.tm_min = 5;
    time.tm_sec = 9;
    EXPECT_EQ(detail::ResponseFileStem(time, 7), "~Zantor_20041231230509007");
}

TEST(TracePromptTest, RequestedByALastArgumentT) {
    using Args = std::vector<std::string>;
    EXPECT_TRUE(IsTraceRequested(Args{"host", "T"}));
    EXPECT_TRUE(IsTraceRequested(Args{"host", "-x", "t"}));
    EXPECT_FALSE(IsTraceRequested(Args{"host", "T", "x"}));
    EXPECT_FALSE(IsTraceRequested(Args{"host", "TT"}));
    EXPECT_FALSE(IsTraceRequested(Args{"T"})); // the program alone
    EXPECT_FALSE(IsTraceRequested(Args{}));
    EXPECT_FALSE(HostCommandLine().empty());
}

TEST(TracePromptTest, PromptWaitsForOk) {
    AnsiString shown;
    Application->SetModalHandler([&](TCustomForm& form) {
        if (auto* label = dynamic_cast<TLabel*>(form.FindComponent("Message"))) shown = label->Caption();
        return mrOk;
    });
    ShowTracePrompt();
    Application->SetModalHandler(nullptr);
    EXPECT_EQ(shown, Utf8ToAnsi("跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。", CP_GB2312));
}

} // namespace
} // namespace qmx
