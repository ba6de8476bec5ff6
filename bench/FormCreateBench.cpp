// A form of 150 controls created from a form resource and shown offscreen, against the same
// widgets created directly with Qt in the same run. Goal: our median time at most twice Qt's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

#include "common/RatioReporter.h"
#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/Form.h"
#include "qmx/toolkit/FormResourceParser.h"
#include "qmx/toolkit/FormResourceReader.h"
#include "qmx/toolkit/Rtti.h"

namespace {

constexpr int kControls = 150;

// The kinds on the form: labelled edits, check boxes, combo boxes and buttons on panels, as an
// option form has them. Kinds whose class is not registered are left out on both sides.
struct Kind {
    const char* ClassName;
    const char* Caption;
};
const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = [] {
        std::vector<Kind> all = {{"TLabel", "Caption = '客户编号'"},   {"TEdit", "Text = 'KLNB07'"},
                                 {"TCheckBox", "Caption = '产生日志'"}, {"TComboBox", "Text = '发票'"},
                                 {"TButton", "Caption = '确定'"}};
        std::vector<Kind> available;
        for (const auto& kind : all)
            if (qmx::GetClass(kind.ClassName)) available.push_back(kind);
        return available;
    }();
    return kinds;
}

// 10 panels, each holding 14 controls: 150 controls in all.
const std::string& ResourceText() {
    static const std::string text = [] {
        std::string out = "object frmBench: TForm\n  Left = 0\n  Top = 0\n  Width = 800\n  Height = 600\n";
        int made = 0;
        for (int p = 0; made < kControls; ++p) {
            out += "  object pnl" + std::to_string(p) + ": TPanel\n    Left = 0\n    Top = " + std::to_string(p * 58) +
                   "\n    Width = 780\n    Height = 56\n";
            ++made;
            for (int i = 0; i < 14 && made < kControls; ++i, ++made) {
                const Kind& kind = Kinds()[static_cast<std::size_t>(made) % Kinds().size()];
                out += "    object c" + std::to_string(made) + ": " + kind.ClassName + "\n      Left = " +
                       std::to_string(4 + i * 55) + "\n      Top = 4\n      Width = 52\n      Height = 21\n      " +
                       kind.Caption + "\n    end\n";
            }
            out += "  end\n";
        }
        return out + "end\n";
    }();
    return text;
}

void Toolkit_CreateShow150(benchmark::State& state) {
    const qmx::TFormResource resource = qmx::ParseFormResource(ResourceText(), "bench.qfm");
    for (auto _ : state) {
        auto* form = qmx::New<qmx::TForm>(nullptr);
        qmx::TFormResourceReader reader(form);
        reader.Read(resource);
        reader.Finish();
        form->Show();
        QApplication::processEvents();
        delete form;
        QApplication::processEvents();
    }
}

QWidget* MakeQtWidget(const char* className, QWidget* parent) {
    const std::string name = className;
    if (name == "TLabel") return new QLabel(QStringLiteral("客户编号"), parent);
    if (name == "TEdit") return new QLineEdit(QStringLiteral("KLNB07"), parent);
    if (name == "TCheckBox") return new QCheckBox(QStringLiteral("产生日志"), parent);
    if (name == "TComboBox") {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("发票"));
        return combo;
    }
    return new QPushButton(QStringLiteral("确定"), parent);
}

void Qt_CreateShow150(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new QWidget;
        window->setGeometry(0, 0, 800, 600);
        int made = 0;
        for (int p = 0; made < kControls; ++p) {
            auto* panel = new QFrame(window);
            panel->setFrameShape(QFrame::Panel);
            panel->setGeometry(0, p * 58, 780, 56);
            ++made;
            for (int i = 0; i < 14 && made < kControls; ++i, ++made) {
                QWidget* widget = MakeQtWidget(Kinds()[static_cast<std::size_t>(made) % Kinds().size()].ClassName, panel);
                widget->setGeometry(4 + i * 55, 4, 52, 21);
            }
        }
        window->show();
        QApplication::processEvents();
        delete window;
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(Toolkit_CreateShow150)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Qt_CreateShow150)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::printf("controls per form: %d, kinds: %zu\n", kControls, Kinds().size());
    auto& reporter = qmx::bench::RunWithRatios(argc, argv);
    reporter.PrintRatios({{"Toolkit_CreateShow150", "Qt_CreateShow150"}}, 2.0, "median time ratio");
    return 0;
}
