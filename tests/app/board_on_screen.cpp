// Looks on the X screen for the board that vornick-trace describes, drawn one pixel a unit, and
// says where it is. Whatever draws it (a Wayland client inside a nested compositor, say) is
// seen as the user would see it.
//   board_on_screen TRACE_FILE [SCREENSHOT_PNG]
// Exit status 0 when the board is on the screen, 1 when it is not, 2 when the trace is unread.
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <cstdio>
#include <optional>

#include "tests/picture_testing.h"

namespace {

using vornick::testing::BoardOrg;

struct TracedBoard {
    QString tiles;  // 784 marks, cell (x, y) at x * 28 + y, '1' for ground
    std::vector<BoardOrg> orgs;
};

std::optional<TracedBoard> read_trace(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    TracedBoard board;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (words.size() == 2 && words[0] == QLatin1String("tiles")) board.tiles = words[1];
        if (words.size() == 5 && words[0] == QLatin1String("org")) {
            board.orgs.push_back({words[2].toInt(), words[3].toInt(), words[4].toInt()});
        }
    }
    if (board.tiles.size() != 28 * 28) return std::nullopt;
    return board;
}

// Where `board` stands in `screen`: a few pixels rule out most places before a full compare.
std::optional<QPoint> find(const QImage& screen, const QImage& board) {
    const QPoint probes[] = {{0, 0}, {139, 139}, {279, 279}, {17, 251}, {263, 5}};
    for (int y = 0; y + board.height() <= screen.height(); ++y) {
        for (int x = 0; x + board.width() <= screen.width(); ++x) {
            bool maybe = true;
            for (const QPoint& p : probes) {
                maybe = maybe && screen.pixel(x + p.x(), y + p.y()) == board.pixel(p);
            }
            if (maybe && screen.copy(QRect(QPoint(x, y), board.size())) == board) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: board_on_screen TRACE_FILE [SCREENSHOT_PNG]\n");
        return 2;
    }
    const auto traced = read_trace(QString::fromLocal8Bit(argv[1]));
    if (!traced) {
        std::fprintf(stderr, "board_on_screen: no board in %s\n", argv[1]);
        return 2;
    }
    const QImage board = vornick::testing::board_picture(
        [&](int x, int y) { return traced->tiles[x * 28 + y] == QLatin1Char('1'); }, traced->orgs);
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    if (argc > 2) screen.save(QString::fromLocal8Bit(argv[2]));
    if (const auto at = find(screen, board)) {
        std::printf("board at %d,%d\n", at->x(), at->y());
        return 0;
    }
    std::printf("board not on the screen\n");
    return 1;
}
