#include "tab_walk.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <vector>

namespace tarnwell {

namespace {

// Stops a walk whose focus never comes back, so that a broken chain fails instead of hanging.
constexpr int most_presses = 400;

// Tab enters a group of exclusive radio buttons at its checked one and leaves from there;
// the arrow keys choose within the group.
bool passed_over_in_group(const QWidget& widget) {
    const auto* radio = qobject_cast<const QRadioButton*>(&widget);
    if (radio == nullptr || !radio->autoExclusive() || radio->isChecked()) return false;
    for (const QRadioButton* other :
         widget.parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (other->autoExclusive() && other->isChecked()) return true;
    }
    return false;
}

bool reachable_by_tab(const QWidget& widget, const QWidget& window) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.isEnabled() &&
           widget.isVisibleTo(&window) && widget.focusProxy() == nullptr &&
           !passed_over_in_group(widget);
}

// The control the user sees for a widget: the text line of a combo box or a spin box is part
// of it.
QWidget* control_of(QWidget* widget) {
    for (QWidget* up = widget; up != nullptr; up = up->parentWidget()) {
        if (qobject_cast<QComboBox*>(up) || qobject_cast<QAbstractSpinBox*>(up)) return up;
    }
    return widget;
}

// The children of `parent` row by row, left to right within a row.
std::vector<QWidget*> children_in_rows(const QWidget& parent, const QWidget& window) {
    std::vector<QWidget*> children;
    for (QObject* child : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow() && widget->isVisibleTo(&window)) {
            children.push_back(widget);
        }
    }
    std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        return a->geometry().top() < b->geometry().top();
    });
    std::vector<QWidget*> ordered;
    for (std::size_t first = 0; first < children.size();) {
        const QRect head = children[first]->geometry();
        std::size_t end = first + 1;
        while (end < children.size() && children[end]->geometry().center().y() <= head.bottom()) {
            ++end;
        }
        std::vector<QWidget*> row(children.begin() + static_cast<std::ptrdiff_t>(first),
                                  children.begin() + static_cast<std::ptrdiff_t>(end));
        std::stable_sort(row.begin(), row.end(), [](const QWidget* a, const QWidget* b) {
            return a->geometry().left() < b->geometry().left();
        });
        ordered.insert(ordered.end(), row.begin(), row.end());
        first = end;
    }
    return ordered;
}

void collect_in_reading_order(QWidget& parent, const QWidget& window,
                              std::vector<QWidget*>& found) {
    for (QWidget* child : children_in_rows(parent, window)) {
        if (reachable_by_tab(*child, window)) {
            QWidget* control = control_of(child);
            if (std::find(found.begin(), found.end(), control) == found.end()) {
                found.push_back(control);
            }
        }
        collect_in_reading_order(*child, window, found);
    }
}

std::vector<QWidget*> controls_in_reading_order(QWidget& window) {
    std::vector<QWidget*> found;
    collect_in_reading_order(window, window, found);
    return found;
}

// The text of the label a form row or a buddy gives the widget.
QString label_of(QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        for (const QLabel* label : up->findChildren<QLabel*>()) {
            if (label->buddy() == widget) return label->text();
        }
        if (auto* form = qobject_cast<QFormLayout*>(up->layout())) {
            if (const auto* label = qobject_cast<QLabel*>(form->labelForField(widget))) {
                return label->text();
            }
        }
    }
    return {};
}

}  // namespace

void show_active(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowActive(&window);
}

std::string control_name(QWidget* widget) {
    QString name = widget->objectName();
    if (name.isEmpty()) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            name = button->text();
        }
    }
    if (name.isEmpty()) name = label_of(widget);
    name += QStringLiteral(" (%1)").arg(QString::fromLatin1(widget->metaObject()->className()));
    // Controls of one caption in several boxes, the keyword fields, are told apart by their box.
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (const auto* box = qobject_cast<const QGroupBox*>(up)) {
            return (box->title() + "/" + name).toStdString();
        }
    }
    return name.toStdString();
}

std::vector<std::string> reading_order(QWidget& window) {
    std::vector<std::string> names;
    for (QWidget* control : controls_in_reading_order(window)) {
        names.push_back(control_name(control));
    }
    return names;
}

std::vector<std::string> tab_walk(QWidget& window) {
    const std::vector<QWidget*> controls = controls_in_reading_order(window);
    if (controls.empty()) return {};
    controls.front()->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> visited;
    std::vector<std::string> names;
    for (int press = 0; press < most_presses; ++press) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) break;
        QWidget* control = control_of(focused);
        if (std::find(visited.begin(), visited.end(), control) != visited.end()) break;
        visited.push_back(control);
        names.push_back(control_name(control));
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return names;
}

void expect_tab_follows_reading(QWidget& dialog, const std::string& name) {
    show_active(dialog);
    const QList<QTabWidget*> page_sets = dialog.findChildren<QTabWidget*>();
    const int pages = page_sets.isEmpty() ? 1 : page_sets.front()->count();
    for (int page = 0; page < pages; ++page) {
        if (!page_sets.isEmpty()) page_sets.front()->setCurrentIndex(page);
        const std::vector<std::string> read = reading_order(dialog);
        EXPECT_GT(read.size(), 1U) << name;
        EXPECT_EQ(tab_walk(dialog), read) << name << ", page " << page;
    }
}

}  // namespace tarnwell
