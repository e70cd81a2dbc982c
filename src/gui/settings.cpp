#include "settings.h"

#include <QSettings>

namespace aurelant {
namespace {

// Settings written by another version of the layout below are not read.
constexpr int kSettingsVersion = 1;

}  // namespace

QVariant rememberedValue(const QString& key) {
    const QSettings settings("aurelant", "aurelant");
    const bool usable = settings.status() == QSettings::NoError &&
                        settings.value("version").toInt() == kSettingsVersion;
    return usable ? settings.value(key) : QVariant();
}

void rememberValue(const QString& key, const QVariant& value) {
    QSettings settings("aurelant", "aurelant");
    settings.setValue("version", kSettingsVersion);
    settings.setValue(key, value);
}

}  // namespace aurelant
