#include "ui/common/LanguageApply.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStringList>
#include <QWidget>

#include "host/Encoding.h"

namespace vem {
namespace {

// The control of each entry, by section: "" is the window caption, "*Name" an item of a combo
// box run, nullptr no control.
using Targets = std::vector<const char*>;

Targets combo(const char* name, int items) { return Targets(static_cast<std::size_t>(items), name); }

Targets join(std::initializer_list<Targets> parts) {
    Targets all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Targets& targets(LanguageSection section) {
    static const std::vector<Targets> all = {
        {"", "formatLabel", "formatValue", "baudLabel", "dataHoldLabel", "dataHoldUnit", "relayHoldLabel",
         "relayHoldUnit", "dataSetLabel", "ipLabel", "portLabel", "dateBox", "timeBox", "summerTimeBox",
         "fileMenu", "openProjectItem", "saveProjectAsItem", "exitItem", "portSettingsItem", "deviceMenu",
         "imageFileItem", "programItem", "deviceInfoItem", "readBackItem", "interfaceMenu", "ipAddressItem",
         "posItem", "systemMenu", "uploadFontItem", "videoSignalItem", "uploadFirmwareItem", "sendFusesItem",
         "deviceSerialItem", "holdTimesItem", "dataSendItem", "setClockItem", "interfaceBox", "holdTimesBox"},
        {},
        join({{"", "positionLabel", "columnLabel", "rowLabel", "descriptionLabel", "lengthLabel",
               "conversionLabel", "offsetLabel", "variableTypeLabel"},
              combo("*conversionBox", 5), combo("*variableTypeBox", 12), {"cancelButton", "acceptButton"}}),
        {"", "dataHoldLabel", "dataHoldUnit", "relayHoldLabel", "relayHoldUnit", "acceptButton", "cancelButton"},
        join({{""}, combo("*handshakeBox", 2), combo("*formatBox", 5),
              {"cancelButton", "acceptButton", "handshakeLabel", "formatLabel", "baudLabel"}}),
        {""},
        {"", "acceptButton", "fileNameLabel", "programmedLabel"},
        {"", "cancelButton", "acceptButton", "portLabel"},
        {},
        join({{"", "registerNumberLabel", "firstLineLabel", "lineCountLabel", "scrollDirectionLabel",
               "backgroundLabel", "transparencyLabel", "textColourLabel"},
              combo("*scrollDirectionBox", 2), combo("*backgroundBox", 5), combo("*transparencyBox", 7),
              combo("*textColourBox", 8), {"cancelButton", "acceptButton", "extendedButton"}}),
        {},
        {"", "brightnessLabel", "contrastLabel", "chromaLabel", "lumaLabel", "videoOffBox", "testPictureBox",
         "colourOnBox", "autoColourBox", "cancelButton", "autoPllBox"},
        {},
        {"", "cancelButton", "acceptButton", "enabledBox", "prefixLabel", "suffixLabel", "baudLabel"},
        {},
        {"", "cancelButton", "acceptButton", "startLabel", "endLabel", "spacesLabel", "keywordLabel",
         "actionLabel", "maxSpacesLabel", "generalLabel", "limitTo40Box", "showHeaderBox", "maxModeButton",
         "skipModeButton", "actionButton1", "actionButton2", "actionButton3", "actionButton4", "actionButton5",
         "actionButton6", "actionButton7", "actionButton8"},
    };
    return all[static_cast<std::size_t>(section)];
}

// A control of the window itself, not of a window it owns.
QObject* findControl(QObject* parent, const QString& name) {
    for (QObject* child : parent->children()) {
        if (auto* w = qobject_cast<QWidget*>(child); w && w->isWindow() && !qobject_cast<QMenu*>(w))
            continue;
        if (child->objectName() == name) return child;
        if (QObject* found = findControl(child, name)) return found;
    }
    return nullptr;
}

void setCaption(QObject* target, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(target)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
        box->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setText(text);
        if (!label->wordWrap()) label->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->setText(text);
    }
}

}  // namespace

QStringList applyLanguageSection(QWidget* window, LanguageSection section, const std::vector<std::string>& texts) {
    const Targets& names = targets(section);
    const std::size_t n = std::min(names.size(), texts.size());
    QStringList missing;
    for (std::size_t i = 0; i < n; ++i) {
        const QString text = fromCp1252(texts[i]);
        const QString name = QString::fromLatin1(names[i]);
        if (name.isEmpty()) {
            window->setWindowTitle(text);
            continue;
        }
        const bool listItem = name.startsWith('*');
        QObject* target = findControl(window, listItem ? name.mid(1) : name);
        if (listItem) target = qobject_cast<QComboBox*>(target);
        if (!target) {
            if (!missing.contains(name)) missing << name;
        } else if (listItem) {
            auto* box = static_cast<QComboBox*>(target);
            if (i == 0 || names[i - 1] != names[i]) box->clear();
            box->addItem(text);
        } else {
            setCaption(target, text);
        }
    }
    for (const QString& name : missing)
        qWarning("language file: %s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return missing;
}

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = fromCp1252(filter).split('|');
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        pattern.replace(';', ' ');
        if (pattern.isEmpty()) pattern = "*";
        // Qt takes the patterns from the last parentheses of the description.
        if (description.endsWith('(' + pattern + ')'))
            filters << description;
        else
            filters << (description.isEmpty() ? pattern : description + " (" + pattern + ')');
    }
    return filters.join(";;");
}

}  // namespace vem
