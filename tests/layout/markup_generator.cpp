#include "markup_generator.h"

#include <array>

namespace tarnwell::testing {

namespace {

int pick(std::mt19937& rng, int below) {
    return std::uniform_int_distribution<int>(0, below - 1)(rng);
}

bool chance(std::mt19937& rng, int percent) {
    return pick(rng, 100) < percent;
}

// Writes items with increasing positions; now and then a range is not well formed, as a
// parser leaves it (an empty range, or an end one past its keyword).
class markup_writer {
  public:
    explicit markup_writer(std::mt19937& rng) : rng_(rng) {}

    void item(const char* tag) {
        const int start = next_;
        const int end = start + pick(rng_, 12);
        next_ = end + 1 + pick(rng_, 3);
        out_ += tag;
        if (chance(rng_, 3)) {
            out_ += std::to_string(end) + "-" + std::to_string(start - 1);
        } else {
            out_ += std::to_string(start) + "-" + std::to_string(end);
        }
    }

    void sequence(int depth) {
        item("<statement>");
        const int items = pick(rng_, depth > 1 ? 4 : 3);
        for (int i = 0; i < items; ++i) statement(depth);
        item("</statement>");
    }

    std::string finish() { return out_ + "\001"; }

  private:
    void statement(int depth) {
        static constexpr std::array<const char*, 8> simple = {
            "<code/>",     "<code/>", "<return/>", "<break/>",
            "<continue/>", "<exit/>", "<goto/>",   "<label/>"};
        const int kind = depth > 1 ? pick(rng_, 12) : 0;
        switch (kind) {
            case 0:
            case 1:
                item(chance(rng_, 2) ? "<comment/>"
                                     : simple[static_cast<std::size_t>(pick(rng_, 8))]);
                break;
            case 2:
            case 3:
                conditional(depth);
                break;
            case 4:
                selection(depth);
                break;
            case 5:
                loop("<for>", "</for>", depth);
                break;
            case 6:
                loop("<whiledo>", "</whiledo>", depth);
                break;
            case 7:
                loop("<untildo>", "</untildo>", depth);
                break;
            case 8:
                loop("<dowhile>", "</dowhile>", depth);
                break;
            case 9:
                loop("<dountil>", "</dountil>", depth);
                break;
            case 10:
                loop("<except>", "</except>", depth);
                break;
            default:
                else_if_chain(depth);
                break;
        }
    }

    void conditional(int depth) {
        item("<if>");
        sequence(depth - 1);
        if (chance(rng_, 60)) sequence(depth - 1);
        item("</if>");
    }

    void else_if_chain(int depth) {
        item("<if>");
        sequence(depth - 1);
        if (depth > 2) {
            item("<statement>");
            conditional(depth - 1);
            item("</statement>");
        } else {
            sequence(depth - 1);
        }
        item("</if>");
    }

    void selection(int depth) {
        item("<switch>");
        const int branches = pick(rng_, 4);
        const int default_at = pick(rng_, 5);
        for (int i = 0; i < branches; ++i) {
            item(i == default_at ? "<else/>" : "<case/>");
            sequence(depth - 1);
        }
        item("</switch>");
    }

    void loop(const char* open, const char* close, int depth) {
        item(open);
        sequence(depth - 1);
        item(close);
    }

    std::mt19937& rng_;
    std::string out_;
    int next_ = 1;
};

class c_writer {
  public:
    explicit c_writer(std::mt19937& rng) : rng_(rng) {}

    void statements(int depth, int count) {
        for (int i = 0; i < count; ++i) statement(depth);
    }

    std::string finish() { return out_; }

  private:
    void line(const std::string& text) { out_ += std::string(indent_, ' ') + text + "\r\n"; }

    void block(int depth) {
        if (chance(rng_, 15)) {
            ++indent_;
            statement(depth);
            --indent_;
            return;
        }
        out_.erase(out_.size() - 2);
        out_ += " {\r\n";
        indent_ += 4;
        statements(depth, pick(rng_, 4));
        indent_ -= 4;
        line("}");
    }

    void statement(int depth) {
        const int kind = depth > 1 ? pick(rng_, 14) : pick(rng_, 4);
        switch (kind) {
            case 0:
                line("x = f(x, " + std::to_string(pick(rng_, 100)) + ");");
                break;
            case 1:
                line(chance(rng_, 50) ? "return x;" : "n++;");
                break;
            case 2:
                line(chance(rng_, 50) ? "break;" : "continue;");
                break;
            case 3:
                line(chance(rng_, 50) ? "goto done;" : "done: x--;");
                break;
            case 4:
            case 5:
                line("if (x > " + std::to_string(pick(rng_, 9)) + ")");
                block(depth - 1);
                if (chance(rng_, 60)) {
                    line("else");
                    block(depth - 1);
                }
                break;
            case 6:
                line("if (a)");
                block(depth - 1);
                line("else if (b)");
                block(depth - 1);
                line("else");
                block(depth - 1);
                break;
            case 7:
                line("switch (k) {");
                for (int i = pick(rng_, 4); i > 0; --i) {
                    line(chance(rng_, 25) ? "default:" : "case " + std::to_string(i) + ":");
                    indent_ += 4;
                    statements(depth - 1, pick(rng_, 3));
                    indent_ -= 4;
                }
                line("}");
                break;
            case 8:
                line("for (i = 0; i < n; i++)");
                block(depth - 1);
                break;
            case 9:
                line("while (x)");
                block(depth - 1);
                break;
            case 10:
                line("do");
                block(depth - 1);
                line("while (y);");
                break;
            case 11:
                line("try {");
                indent_ += 4;
                statements(depth - 1, pick(rng_, 3));
                indent_ -= 4;
                line("} catch (E e) {");
                indent_ += 4;
                statements(depth - 1, pick(rng_, 3));
                indent_ -= 4;
                line("}");
                break;
            case 12:
                if (chance(rng_, 20)) {
                    line("if (x > (1) {");  // a syntax error: the parse fails here
                    break;
                }
                [[fallthrough]];
            default:
                line("g();");
                break;
        }
    }

    std::mt19937& rng_;
    std::string out_;
    int indent_ = 0;
};

}  // namespace

std::string random_markup(std::mt19937& rng, int max_depth) {
    markup_writer writer(rng);
    writer.sequence(max_depth);
    return writer.finish();
}

std::string cut_markup(std::mt19937& rng, const std::string& markup) {
    const std::size_t cut = static_cast<std::size_t>(pick(rng, static_cast<int>(markup.size())));
    return markup.substr(0, cut) + "\001";
}

std::string damaged_markup(std::mt19937& rng, const std::string& markup) {
    static constexpr std::array<const char*, 10> strays = {
        "x", "-", " ", ">", "<", "<foo/>1-2", "<IF>3-4", "<statement>", "99999999999999999999",
        "/"};
    std::string out = markup.substr(0, markup.size() - 1);
    for (int faults = 1 + pick(rng, 3); faults > 0 && !out.empty(); --faults) {
        const std::size_t at = static_cast<std::size_t>(pick(rng, static_cast<int>(out.size())));
        switch (pick(rng, 4)) {
            case 0:
                out.insert(at, strays[static_cast<std::size_t>(pick(rng, 10))]);
                break;
            case 1: {
                // Drop an item: from a "<" up to the next one.
                const std::size_t from = out.rfind('<', at);
                const std::size_t to = out.find('<', at + 1);
                if (from != std::string::npos)
                    out.erase(from, (to == std::string::npos ? out.size() : to) - from);
                break;
            }
            case 2: {
                const std::size_t from = out.rfind('<', at);
                const std::size_t to = out.find('<', at + 1);
                if (from != std::string::npos) {
                    out.insert(
                        from, out.substr(from, (to == std::string::npos ? out.size() : to) - from));
                }
                break;
            }
            default:
                out.erase(at, 1 + static_cast<std::size_t>(pick(rng, 4)));
                break;
        }
    }
    return out + "\001";
}

std::string random_c_source(std::mt19937& rng, int max_depth) {
    c_writer writer(rng);
    writer.statements(max_depth, 1 + pick(rng, 5));
    return writer.finish();
}

}  // namespace tarnwell::testing
