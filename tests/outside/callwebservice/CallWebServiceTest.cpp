// The library as the module uses it: loaded by name, called through its C entry point, against
// a service on the loopback interface.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CallWebService/CallWebServiceApi.h"
#include "LoopbackServer.h"
#include "qmx/CodePage.h"
#include "qmx/platform/Library.h"

namespace qmx {
namespace {

using testing::HttpReply;
using testing::HttpRequest;
using testing::LoopbackServer;
using testing::TextBetween;

namespace fs = std::filesystem;

std::string Envelope(const std::string& returnXml) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body>"
           "<ns:InvokeResponse xmlns:ns=\"urn:qmx:CallWebService\"><ns:Return>" +
           returnXml + "</ns:Return></ns:InvokeResponse></soapenv:Body></soapenv:Envelope>";
}

std::string Fault(const std::string& text) {
    return "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
           "<faultcode>s:Server</faultcode><faultstring>" +
           text + "</faultstring></s:Fault></s:Body></s:Envelope>";
}

// One environment variable for the fixture's lifetime.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentValue() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class CallWebServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const platform::HMODULE library = platform::LoadLibrary(CALLWEBSERVICE_LIBRARY_NAME);
        ASSERT_NE(library, nullptr) << platform::LastLibraryError();
        entry = reinterpret_cast<CallWebServiceFxProc>(platform::GetProcAddress(library, CALLWEBSERVICE_ENTRY_NAME));
        ASSERT_NE(entry, nullptr);
        std::string pattern = (fs::temp_directory_path() / "callws-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        responseFile = folder + "/response.tmp";
    }
    void TearDown() override { fs::remove_all(folder); }

    struct Outcome {
        int Status;
        std::string Error;
    };
    Outcome Call(const std::string& address, const std::string& method, const std::string& request) {
        char error[1024] = "untouched";
        const int status = entry(address.c_str(), method.c_str(), request.c_str(), responseFile.c_str(), error, sizeof error);
        return {status, error};
    }
    std::string Response() const {
        std::ifstream in(responseFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Proxies of the environment never see loopback calls; texts are GB2312.
    EnvironmentValue noProxy{"no_proxy", "*"};
    EnvironmentValue codePage{"QMX_ACP", "936"};
    CallWebServiceFxProc entry = nullptr;
    std::string folder, responseFile;
};

TEST_F(CallWebServiceTest, EnvelopeHeadersAndAnswerInTheCodePage) {
    LoopbackServer server([](const HttpRequest&) {
        // U+1F600 has no GB2312 form: it must survive as a character reference.
        return HttpReply::Xml(Envelope("&lt;?xml version=\"1.0\" encoding=\"UTF-8\"?&gt;&lt;Response&gt;"
                                       "&lt;Record name=\"王小明\" note=\"\xF0\x9F\x98\x80\"/&gt;&lt;/Response&gt;"));
    });
    const std::string request = Utf8ToAnsi("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Request user=\"张三\"/>", CP_GB2312);
    const Outcome outcome = Call(server.Url("/portal/ws"), "PORTAL.getAllUser", request);
    ASSERT_EQ(outcome.Status, CWS_OK) << outcome.Error;
    EXPECT_EQ(outcome.Error, "");

    const std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const HttpRequest& sent = requests[0];
    EXPECT_EQ(sent.Method, "POST");
    EXPECT_EQ(sent.Target, "/portal/ws");
    EXPECT_EQ(sent.Headers.at("content-type"), "text/xml; charset=utf-8");
    EXPECT_EQ(sent.Headers.at("soapaction"), "\"PORTAL.getAllUser\"");
    EXPECT_EQ(sent.Headers.count("expect"), 0u);
    EXPECT_TRUE(sent.Body.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope")) << sent.Body;
    EXPECT_EQ(TextBetween(sent.Body, "ws:Method"), "PORTAL.getAllUser");
    // The request as UTF-8 text of the envelope, escaped.
    EXPECT_EQ(TextBetween(sent.Body, "ws:Request"),
              "&lt;?xml version=&quot;1.0&quot; encoding=&quot;UTF-8&quot;?&gt;&lt;Request user=&quot;张三&quot;/&gt;");

    EXPECT_EQ(Response(), Utf8ToAnsi("<?xml version=\"1.0\" encoding=\"GB2312\"?><Response>"
                                     "<Record name=\"王小明\" note=\"&#128512;\"/></Response>",
                                     CP_GB2312));
}

TEST_F(CallWebServiceTest, AnswersInOtherFormsAndCharsets) {
    struct Case {
        const char* Name;
        HttpReply Reply;
        std::string Expected; // UTF-8, stored as GB2312
    };
    HttpReply gbk;
    gbk.Headers = {{"Content-Type", "text/xml; charset=GBK"}};
    gbk.Body = Utf8ToAnsi("<Response>中文</Response>", CP_GB2312);
    HttpReply declared;
    declared.Body = Utf8ToAnsi("<?xml version='1.0' encoding='gb2312'?><R>中</R>", CP_GB2312);
    HttpReply unlimited = HttpReply::Xml(Envelope("plain text\nsecond line"));
    unlimited.SendLength = false;
    HttpReply empty = HttpReply::Xml("");
    const Case cases[] = {
        {"plain XML, no envelope", HttpReply::Xml("<Response><Status code=\"0\"/></Response>"),
         "<Response><Status code=\"0\"/></Response>"},
        {"charset from the header", gbk, "<Response>中文</Response>"},
        {"charset from the declaration", declared, "<?xml version='1.0' encoding='GB2312'?><R>中</R>"},
        {"text answer without length", unlimited, "plain text\nsecond line"},
        {"empty answer", empty, ""},
    };
    for (const Case& c : cases) {
        LoopbackServer server([&](const HttpRequest&) { return c.Reply; });
        const Outcome outcome = Call(server.Url(), "M", "<r/>");
        ASSERT_EQ(outcome.Status, CWS_OK) << c.Name << ": " << outcome.Error;
        EXPECT_EQ(Response(), Utf8ToAnsi(c.Expected, CP_GB2312)) << c.Name;
    }
}

TEST_F(CallWebServiceTest, ServiceErrorsAreReportedAndLeaveTheFile) {
    struct Case {
        const char* Name;
        HttpReply Reply;
        int Status;
        std::string Text;
    };
    HttpReply html;
    html.Status = 500;
    html.Headers = {{"Content-Type", "text/html; charset=iso-8859-1"}};
    html.Body = "<html>Internal \xE9rror</html>";
    HttpReply badBytes = HttpReply::Xml("<R>\xFF\xFE\xFD</R>");
    const Case cases[] = {
        {"fault at 500", HttpReply::Xml(Fault("No such method"), 500), CWS_SOAP_FAULT,
         "The web service answered a fault (HTTP 500): No such method"},
        {"fault at 200", HttpReply::Xml(Fault("Denied")), CWS_SOAP_FAULT, "Denied"},
        {"error page", html, CWS_HTTP_ERROR, "The web service answered HTTP status 500."},
        {"not found", HttpReply::Xml("", 404), CWS_HTTP_ERROR, "HTTP status 404"},
        {"envelope without result",
         HttpReply::Xml("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><X/></e:Body></e:Envelope>"),
         CWS_BAD_RESPONSE, "holds no result"},
        {"bytes that are no UTF-8", badBytes, CWS_BAD_RESPONSE, "no utf-8 text"},
    };
    for (const Case& c : cases) {
        std::ofstream(responseFile, std::ios::trunc) << "earlier";
        LoopbackServer server([&](const HttpRequest&) { return c.Reply; });
        const Outcome outcome = Call(server.Url(), "M", "<r/>");
        EXPECT_EQ(outcome.Status, c.Status) << c.Name << ": " << outcome.Error;
        EXPECT_NE(outcome.Error.find(c.Text), std::string::npos) << c.Name << ": " << outcome.Error;
        EXPECT_EQ(Response(), "earlier") << c.Name;
    }
}

TEST_F(CallWebServiceTest, SilentServiceTimesOutWithinTheLimit) {
    EnvironmentValue lowSpeed("QMX_CALLWS_LOW_SPEED_TIME", "1");
    EnvironmentValue total("QMX_CALLWS_TIMEOUT", "2");
    LoopbackServer server([](const HttpRequest&) { return HttpReply::Hang(); });
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = Call(server.Url(), "M", "<r/>");
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(outcome.Status, CWS_TRANSPORT_ERROR);
    EXPECT_NE(outcome.Error.find("did not answer in time"), std::string::npos) << outcome.Error;
    EXPECT_LT(seconds, 5.0); // the whole-call limit, with room for a busy machine
}

TEST_F(CallWebServiceTest, AnswerBeyondTheLimitIsRefused) {
    for (const bool withLength : {true, false}) {
        HttpReply big = HttpReply::Xml(std::string(1 << 20, 'x'));
        big.SendLength = withLength;
        LoopbackServer server([&](const HttpRequest&) { return big; });
        const Outcome outcome = Call(server.Url(), "M", "<r/>");
        EXPECT_EQ(outcome.Status, CWS_TOO_LARGE) << withLength;
        EXPECT_NE(outcome.Error.find("exceeds the limit of 524288 bytes"), std::string::npos) << outcome.Error;
    }
    // The limit can be raised for a service that needs it.
    EnvironmentValue limit("QMX_CALLWS_MAX_RESPONSE", "2000000");
    LoopbackServer server([](const HttpRequest&) { return HttpReply::Xml(std::string(1 << 20, 'x')); });
    EXPECT_EQ(Call(server.Url(), "M", "<r/>").Status, CWS_OK);
    EXPECT_EQ(Response().size(), std::size_t{1} << 20);
}

TEST_F(CallWebServiceTest, RedirectsStayOnHttp) {
    LoopbackServer server([](const HttpRequest& request) {
        HttpReply reply;
        if (request.Target == "/old") {
            reply.Status = 307;
            reply.Headers = {{"Location", "/new"}};
        } else if (request.Target == "/file") {
            reply.Status = 302;
            reply.Headers = {{"Location", "file:///etc/passwd"}};
        } else {
            reply = HttpReply::Xml(Envelope("moved " + request.Method));
        }
        return reply;
    });
    const Outcome moved = Call(server.Url("/old"), "M", "<r/>");
    ASSERT_EQ(moved.Status, CWS_OK) << moved.Error;
    EXPECT_EQ(Response(), "moved POST");
    EXPECT_EQ(server.Requests().back().Body, server.Requests().front().Body); // the envelope went along

    const Outcome refused = Call(server.Url("/file"), "M", "<r/>");
    EXPECT_EQ(refused.Status, CWS_TRANSPORT_ERROR) << refused.Error;
}

TEST_F(CallWebServiceTest, BadArgumentsAndUnreachableServices) {
    const std::string unused = "http://127.0.0.1:" + std::to_string(LoopbackServer::UnusedPort()) + "/ws";
    const std::pair<std::string, int> addresses[] = {
        {"ftp://127.0.0.1/ws", CWS_BAD_ARGUMENT},
        {"file:///etc/passwd", CWS_BAD_ARGUMENT},
        {"127.0.0.1/ws", CWS_BAD_ARGUMENT},
        {"http://127.0.0.1/a b", CWS_BAD_ARGUMENT},
        {"", CWS_BAD_ARGUMENT},
        {unused, CWS_TRANSPORT_ERROR},
        {"https" + unused.substr(4), CWS_TRANSPORT_ERROR},
    };
    for (const auto& [address, status] : addresses) {
        const Outcome outcome = Call(address, "M", "<r/>");
        EXPECT_EQ(outcome.Status, status) << address << ": " << outcome.Error;
        EXPECT_FALSE(outcome.Error.empty()) << address;
    }
    EXPECT_EQ(Call("http://127.0.0.1/ws", "M\r\nX-Injected: 1", "<r/>").Status, CWS_BAD_ARGUMENT);

    char small[8];
    EXPECT_EQ(entry(nullptr, "M", "<r/>", responseFile.c_str(), small, sizeof small), CWS_BAD_ARGUMENT);
    EXPECT_EQ(std::string(small), "The web");
    EXPECT_EQ(entry("http://127.0.0.1/ws", "M", "<r/>", "", nullptr, 0), CWS_BAD_ARGUMENT);
}

TEST_F(CallWebServiceTest, UnwritableResponseFileIsReported) {
    LoopbackServer server([](const HttpRequest&) { return HttpReply::Xml(Envelope("answer")); });
    responseFile = folder + "/missing/response.tmp";
    const Outcome outcome = Call(server.Url(), "M", "<r/>");
    EXPECT_EQ(outcome.Status, CWS_FILE_ERROR);
    EXPECT_NE(outcome.Error.find("response file"), std::string::npos) << outcome.Error;
}

} // namespace
} // namespace qmx
