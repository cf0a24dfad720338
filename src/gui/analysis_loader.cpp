#include "gui/analysis_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#ifndef HAYATE_ANALYSIS_FROM_BIN
#define HAYATE_ANALYSIS_FROM_BIN "../lib/hayateuchi"
#endif

namespace hayate::gui {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

QString moduleFileName() {
#ifdef Q_OS_WIN
    return QString::fromLatin1(kAnalysisModuleName) + QStringLiteral(".dll");
#else
    return QString::fromLatin1(kAnalysisModuleName) + QStringLiteral(".so");
#endif
}

QString practiceGoesOn() { return QStringLiteral(u"\n\n練習と成績はこれまでどおり使えます。"); }

}  // namespace

void setAnalysisModuleFolderForTesting(const QString& folder) { folderOverride() = folder; }

QStringList analysisModuleCandidates() {
    const QString file = moduleFileName();
    if (!folderOverride().isEmpty()) return {QDir(folderOverride()).filePath(file)};
    const QDir bin(QCoreApplication::applicationDirPath());
    return {bin.filePath(file),
            QDir::cleanPath(bin.filePath(QStringLiteral(HAYATE_ANALYSIS_FROM_BIN "/") + file))};
}

AnalysisModule loadAnalysisModule() {
    const QStringList candidates = analysisModuleCandidates();
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile()) continue;
        QLibrary library(path);
        // Every symbol bound now: a module built against other libraries fails
        // here, with a message, rather than later in the middle of the screen.
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load()) {
            return {nullptr, QStringLiteral(u"分析画面の部品 %1 を読み込めません。\n%2")
                                     .arg(QDir::toNativeSeparators(path), library.errorString()) +
                                 practiceGoesOn()};
        }
        // Never unloaded: the screen, once made, lives as long as the window.
        auto make =
            reinterpret_cast<MakeAnalysisScreen>(library.resolve(kMakeAnalysisScreenSymbol));
        if (!make) {
            return {nullptr,
                    QStringLiteral(u"分析画面の部品 %1 はこの版のハヤテウチのものではありません。")
                            .arg(QDir::toNativeSeparators(path)) +
                        practiceGoesOn()};
        }
        return {make, {}};
    }
    QStringList places;
    for (const QString& path : candidates)
        places << QStringLiteral("  ") + QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    return {nullptr, QStringLiteral(u"分析画面の部品 %1 が見つかりません。\n探した場所：\n%2")
                             .arg(moduleFileName(), places.join(QLatin1Char('\n'))) +
                         practiceGoesOn()};
}

}  // namespace hayate::gui
