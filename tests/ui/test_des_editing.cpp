#include "common/messages.h"
#include "drawing/des_doc.h"
#include "drawing/des_view.h"
#include "drawing/dlg_valores_desenho.h"
#include "geometry/drawing_edit.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_prompter.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using tarvex::geometry::Ponto;
using tarvex::geometry::Segmento;

namespace {

QString texto(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

/// A drawing view of 400 × 400 pixels showing the world window 0..100 in both axes.
struct Fixture {
    CDesDoc doc;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    CDesView view { doc, prompter };

    Fixture()
    {
        view.resize(400, 400);
        view.setExecutorDialogos([this](QDialog& d) { return dialogs.run(d); });
        view.setJanela({ 0, 0, 100, 100 });
    }
    bool show()
    {
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }
    QPoint pixel(double x, double y)
    {
        // 400 pixels for 100 units, row 0 at the top.
        return QPoint(qRound(x * 4), qRound(400 - y * 4));
    }
    void click(double x, double y) { QTest::mouseClick(&view, Qt::LeftButton, {}, pixel(x, y)); }
};

} // namespace

class TestDesEditing : public QObject {
    Q_OBJECT
private slots:
    void drawsARectangleWithMouseClicksAndUndoesIt();
    void aRefusedCommandWarnsAndKeepsTheMode();
    void undoLetsGoOfSelectedCopiesOfRemovedEntities();
    void keyboardDialogInsertsAndStaysOpenUntilEncerra();
    void snapPointIsHighlightedWhileACommandWaits();
    void anEditThatKeepsTheCountsStillMarksTheDocument();
    void dragSelectsAFrameAndAClickTogglesASegment();
};

void TestDesEditing::drawsARectangleWithMouseClicksAndUndoesIt()
{
    Fixture f;
    QVERIFY(f.show());
    // Two corners by "Ponto &Mouse" (the mode a view starts in), then the rectangle by two picks
    // near them: the picks snap to the points.
    f.click(20, 20);
    f.click(60, 40);
    QCOMPARE(int(f.doc.data().pontos.size()), 2);
    f.view.comandoModo(CDesView::ModoMouse::Retangulo);
    QCOMPARE(f.view.modoMouse(), CDesView::ModoMouse::Retangulo);
    QSignalSpy mensagens(&f.view, &CDesView::mensagem);
    f.click(21, 19);
    QCOMPARE(mensagens.last().at(0).toString(),
        QStringLiteral("Ponto selecionado: (   20.000,    20.000)"));
    f.click(59, 41);
    QCOMPARE(int(f.doc.data().segmentos.size()), 4);
    QCOMPARE(int(f.doc.data().pontos.size()), 4);
    QVERIFY(f.view.selecao().pontos.empty());
    QVERIFY(f.doc.isModified());

    QUndoStack& pilha = f.doc.pilhaDesfazer();
    QCOMPARE(pilha.count(), 3);
    pilha.undo();
    QCOMPARE(int(f.doc.data().segmentos.size()), 0);
    QCOMPARE(int(f.doc.data().pontos.size()), 2);
    pilha.undo();
    pilha.undo();
    QVERIFY(f.doc.data().vazio());
    QVERIFY(!f.doc.isModified()); // back at the state it was opened in
    pilha.redo();
    pilha.redo();
    pilha.redo();
    QCOMPARE(f.doc.data().segmentos.at(0), (Segmento { { 20, 40 }, { 20, 20 } }));
    QVERIFY(f.doc.isModified());
}

void TestDesEditing::aRefusedCommandWarnsAndKeepsTheMode()
{
    Fixture f;
    f.view.comandoModo(CDesView::ModoMouse::RetaCartesiana);
    QCOMPARE(f.prompter.warnings, QStringList { texto(tarvex::msg::MenosDoisPontosSegmento) });
    QCOMPARE(f.view.modoMouse(), CDesView::ModoInicial);

    // With points selected, a building command asks first; No clears the selection.
    f.doc.data().pontos.pushFront({ 10, 10 });
    f.doc.data().pontos.pushFront({ 30, 30 });
    f.view.selecao().pontos = { { 30, 30 } };
    f.view.comandoModo(CDesView::ModoMouse::Circunferencia);
    QCOMPARE(f.prompter.questions, QStringList { texto(tarvex::msg::PerguntaCircunferencia) });
    QVERIFY(f.view.selecao().pontos.empty());
    QCOMPARE(f.view.modoMouse(), CDesView::ModoMouse::Circunferencia);
}

void TestDesEditing::undoLetsGoOfSelectedCopiesOfRemovedEntities()
{
    Fixture f;
    QVERIFY(f.show());
    f.click(50, 50);
    f.view.comandoModo(CDesView::ModoMouse::SelecionaPonto);
    f.click(49, 49);
    QCOMPARE(f.view.selecao().pontos.size(), std::size_t(1));
    f.doc.pilhaDesfazer().undo();
    QVERIFY(f.view.selecao().pontos.empty());
}

void TestDesEditing::keyboardDialogInsertsAndStaysOpenUntilEncerra()
{
    Fixture f;
    f.dialogs.steps.push_back([](QDialog& d) {
        auto& dialogo = static_cast<CDlgValoresDesenho&>(d);
        dialogo.campo(2)->setText(QStringLiteral("0"));
        dialogo.inserir(); // refused: the radius
        dialogo.campo(0)->setText(QStringLiteral("10"));
        dialogo.campo(2)->setText(QStringLiteral("2,5")); // a decimal comma is read too
        dialogo.inserir();
        return int(QDialog::Rejected); // "&Encerra"
    });
    f.view.circunferenciaTeclado();
    QCOMPARE(f.dialogs.titles, QStringList { QStringLiteral("Desenha Circunferências") });
    QCOMPARE(f.prompter.warnings, QStringList { texto(tarvex::msg::RaioZero) });
    QCOMPARE(int(f.doc.data().arcos.size()), 2);
    QCOMPARE(f.doc.data().pontos.at(2), (Ponto { 12.5, 0 }));
    QCOMPARE(f.doc.pilhaDesfazer().count(), 1);
}

void TestDesEditing::snapPointIsHighlightedWhileACommandWaits()
{
    Fixture f;
    QVERIFY(f.show());
    f.doc.data().pontos.pushFront({ 10, 10 });
    f.doc.data().pontos.pushFront({ 80, 80 });
    f.view.comandoModo(CDesView::ModoMouse::Retangulo);
    QTest::mouseMove(&f.view, f.pixel(70, 60));
    QCOMPARE(f.view.destaque(), std::optional<Ponto>(Ponto { 80, 80 }));
    f.view.comandoModo(CDesView::ModoMouse::InserePonto);
    QTest::mouseMove(&f.view, f.pixel(20, 20));
    QVERIFY(!f.view.destaque());
}

void TestDesEditing::anEditThatKeepsTheCountsStillMarksTheDocument()
{
    Fixture f;
    QVERIFY(f.show());
    f.doc.data().pontos.pushFront({ 50, 50 });
    f.doc.data().marcarGravado();
    f.view.comandoModo(CDesView::ModoMouse::ExcluiPontos);
    f.click(50, 50);
    f.view.comandoModo(CDesView::ModoMouse::InserePonto);
    f.click(20, 20);
    QVERIFY(!f.doc.data().contagensAlteradas());
    QVERIFY(f.doc.isModified());
    QVERIFY(f.doc.checkModifiedByCounts());
}

void TestDesEditing::dragSelectsAFrameAndAClickTogglesASegment()
{
    Fixture f;
    QVERIFY(f.show());
    f.doc.data().segmentos.pushFront({ { 20, 20 }, { 40, 20 } });
    f.doc.data().segmentos.pushFront({ { 60, 60 }, { 90, 60 } });
    f.view.comandoModo(CDesView::ModoMouse::SelecionaRegiao);
    QTest::mousePress(&f.view, Qt::LeftButton, {}, f.pixel(50, 10));
    QTest::mouseMove(&f.view, f.pixel(10, 30));
    QTest::mouseRelease(&f.view, Qt::LeftButton, {}, f.pixel(10, 30));
    QCOMPARE(f.view.selecao().segmentos,
        (std::vector<Segmento> { Segmento { { 20, 20 }, { 40, 20 } } }));

    f.view.comandoModo(CDesView::ModoMouse::SelecionaSegmento);
    QSignalSpy mensagens(&f.view, &CDesView::mensagem);
    f.click(75, 61);
    QCOMPARE(f.view.selecao().segmentos.size(), std::size_t(2));
    QVERIFY(mensagens.last().at(0).toString().startsWith(QStringLiteral("Segmento selecionado:")));
    f.click(30, 19);
    QCOMPARE(f.view.selecao().segmentos.size(), std::size_t(1));
    QCOMPARE(f.doc.pilhaDesfazer().count(), 0); // a selection is not an undo step
}

QTEST_MAIN(TestDesEditing)
#include "test_des_editing.moc"
