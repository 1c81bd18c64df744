// The store's loading of a whole settings file, fed any bytes: every setting it gives is one
// the program can use, each key's text decides its own setting and no other's, and the values
// loaded write back as text that loads as the same values.
#include <fcntl.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "prefs/pref_codec.h"
#include "prefs/prefs_store.h"
#include "sim/slider_mapping.h"

namespace {

using namespace vornick;

// A RAM disk where there is one: thousands of files a second are written and read back.
QString scratch_base() {
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

bool sound(const Settings& s) {
    const auto interval = [](double v) {
        return std::isfinite(v) && v >= kMinInterval && v <= kMaxInterval;
    };
    return s.maxIters >= 0 && s.stopIters >= 0 && s.iNumOrgs >= kMinNumOrgs &&
           s.iNumOrgs <= kMaxNumOrgs && interval(s.Slow) && interval(s.Fast) && interval(s.Turbo) &&
           interval(s.Variable) && s.sliderVal >= kSliderMin && s.sliderVal <= kSliderMax;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QTemporaryDir home(scratch_base() + QStringLiteral("/vornick-fuzz-XXXXXX"));
    static int64_t n = 0;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const QString path = prefs_file_path();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    // Qt keeps a file it has read until its size or time changes; a time of its own for each
    // input makes it read every one.
    ++n;
    const timespec times[2] = {{n, 0}, {n, 0}};
    FUZZ_CHECK(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);

    Settings loaded;
    loaded.iNumOrgs = -1;  // every field must be filled in
    double delay = -1.0;
    getPrefs(loaded, delay);
    FUZZ_CHECK(sound(loaded));
    FUZZ_CHECK(delay == loaded.Slow);

    const auto loaded_texts = encode_settings(loaded);
    {
        const QSettings store(prefs_file_path(), QSettings::IniFormat);
        for (size_t k = 0; k < loaded_texts.size(); ++k) {
            const char* const key = loaded_texts[k].key;
            const auto text = stored_text(store, key);
            const Settings alone =
                decode_settings([&](const char* asked) -> std::optional<std::string> {
                    if (std::string(asked) == key) return text;
                    return std::nullopt;
                });
            FUZZ_CHECK(encode_settings(alone)[k].text == loaded_texts[k].text);
        }
    }

    const Settings again = decode_settings([&](const char* key) -> std::optional<std::string> {
        for (const StoredValue& v : loaded_texts) {
            if (std::string(v.key) == key) return v.text;
        }
        return std::nullopt;
    });
    const auto again_texts = encode_settings(again);
    for (size_t k = 0; k < again_texts.size(); ++k) {
        FUZZ_CHECK(again_texts[k].text == loaded_texts[k].text);
    }
    return 0;
}
