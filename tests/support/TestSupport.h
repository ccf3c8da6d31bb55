#pragma once

// Helpers shared by the test programs: sample scales and libraries, and files as bytes.
#include "core/Libraries.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace TestSupport {

// F 0 / D 1 / C 2 / B 3 / A 4 with top scores 59, 69, 79, 89, 100.
inline GradeScale LetterScale(const QString& name = QStringLiteral("Letters")) {
    GradeScale s;
    s.name = name;
    const char16_t* grades[] = {u"F", u"D", u"C", u"B", u"A"};
    const float tops[] = {59, 69, 79, 89, 100};
    for (int i = 0; i < 5; ++i) {
        s.steps[std::size_t(i)].grade = QStringView(grades[i]);
        s.steps[std::size_t(i)].value = float(i);
        s.steps[std::size_t(i)].topScore = tops[i];
    }
    s.count = 5;
    return s;
}

// An importance set of named groups with their shares.
inline ImportanceSet GroupSet(std::initializer_list<std::pair<const char16_t*, float>> groups,
                              const QString& name = QStringLiteral("Groups")) {
    ImportanceSet s;
    s.name = name;
    for (const auto& [group, percent] : groups) {
        s.steps[std::size_t(s.count)].name = QStringView(group);
        s.steps[std::size_t(s.count)].percentOfTotal = percent;
        ++s.count;
    }
    return s;
}

// Letter scales as library entries 0 and 1, and one group "All" of 100 %.
inline Libraries LetterLibraries() {
    Libraries libs;
    libs.scales = {LetterScale(QStringLiteral("Letters")), LetterScale(QStringLiteral("Totals"))};
    libs.importanceSets = {GroupSet({{u"All", 100}}, QStringLiteral("All"))};
    libs.scaleCount = 2;
    libs.importanceCount = 1;
    return libs;
}

inline QString DataFile(const QString& name) {
    return QStringLiteral(QUILLMARK_TEST_DATA) + u'/' + name;
}

inline QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool Store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace TestSupport
