#include "generated_cs_php_perl.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace tarnwell::bench {

namespace {

// The blocks, in turn, as many whole rounds as reach `lines`, then the closing statement.
std::string rounds_of(std::initializer_list<std::string_view> blocks, int lines,
                      std::string_view last) {
    std::string round;
    for (std::string_view block : blocks) round += block;
    const auto round_lines = std::count(round.begin(), round.end(), '\n');
    std::string text;
    for (long n = 0; n < lines; n += round_lines) text += round;
    text += last;
    return text;
}

}  // namespace

std::string generated_cs_function(int lines) {
    return rounds_of(
        {
            "var total = Compute(a, F(G(H(1))), \"text ( with ; parens\");\r\n"
            "// a line comment\r\n",
            "if (total > 0 && Check(y)) {\r\n    y = total * 2;\r\n} else if (total < -5) {\r\n"
            "    y = -total;\r\n} else\r\n    y = 0;\r\n",
            "foreach (var item in items) {\r\n    if (item == key) break;\r\n"
            "    if (Skip(item)) continue;\r\n    sum += item.Weight;\r\n}\r\n",
            "for (int i = 0; i < n; i++)\r\n    list.Add(i);\r\n",
            "while (queue.Count > 0) {\r\n    /* block\r\n       comment */\r\n"
            "    Step(queue);\r\n}\r\n",
            "switch (state) {\r\ncase 1:\r\n    Run();\r\n    break;\r\ncase Ready:\r\n"
            "    Wait();\r\n    goto case 1;\r\ndefault:\r\n    state = 0;\r\n    break;\r\n}\r\n",
            "do {\r\n    n--;\r\n} while (n > 0 && Ok(n));\r\n",
            "try {\r\n    Risky();\r\n} catch (IOException e) {\r\n    Report(e);\r\n}"
            " finally {\r\n    Close();\r\n}\r\n#region helpers\r\n",
            "retry:\r\nif (attempts++ < 3) goto retry;\r\nif (fatal) return -1;\r\n",
        },
        lines, "return total;\r\n");
}

std::string generated_php_function(int lines) {
    return rounds_of(
        {
            "$total = compute($a, f(g(h(1))), \"text ( with ; parens\");\r\n"
            "# a hash comment\r\n// a line comment\r\n",
            "if ($total > 0 && check($y)) {\r\n    $y = $total * 2;\r\n} elseif ($total < -5) {\r\n"
            "    $y = -$total;\r\n} else if ($y) {\r\n    $y = 1;\r\n} else\r\n    $y = 0;\r\n",
            "foreach ($items as $key => $item) {\r\n    if ($item == $wanted) break;\r\n"
            "    if (skip($item)) continue;\r\n    $sum += $item->weight;\r\n}\r\n",
            "for ($i = 0; $i < $n; $i++)\r\n    $list[] = $i;\r\n",
            "while (count($queue) > 0) {\r\n    /* block\r\n       comment */\r\n"
            "    step($queue);\r\n}\r\n",
            "switch ($state) {\r\ncase 1:\r\n    run();\r\n    break;\r\ncase 'ready':\r\n"
            "    wait();\r\ndefault:\r\n    $state = 0;\r\n}\r\n",
            "do {\r\n    $n--;\r\n} while ($n > 0 && ok($n));\r\n",
            "try {\r\n    risky();\r\n} catch (Exception $e) {\r\n    report($e);\r\n}"
            " finally {\r\n    close_all();\r\n}\r\n",
            "retry:\r\nif ($attempts++ < 3) goto retry;\r\nif ($fatal) exit(1);\r\n"
            "if ($done) return -1;\r\n",
        },
        lines, "return $total;\r\n");
}

std::string generated_perl_function(int lines) {
    return rounds_of(
        {
            "my ($self, %args) = @_;\r\nmy $total = compute($a, f(g(h(1))), \"text ( ; \");\r\n"
            "# a comment\r\n",
            "print \"positive\\n\" if $total > 0;\r\nreturn unless defined $args{name};\r\n"
            "$count++ while $count < 10;\r\nshift @queue until @queue < 5;\r\n",
            "if ($total > 0 && check($y)) {\r\n    $y = $total * 2;\r\n} elsif ($total < -5) {\r\n"
            "    $y = -$total;\r\n} else {\r\n    $y = 0;\r\n}\r\n",
            "unless ($quiet) {\r\n    warn \"noisy\";\r\n}\r\n",
            "LINE: foreach my $line (@lines) {\r\n    next LINE if $line =~ /^#/;\r\n"
            "    last if $line eq \"__END__\";\r\n    $line =~ s/\\s+$//;\r\n"
            "    ($name = $line) =~ tr/a-z/A-Z/;\r\n    push @out, $line;\r\n}\r\n",
            "while (my $item = shift @work) {\r\n    process($item);\r\n} continue {\r\n"
            "    $done++;\r\n}\r\n",
            "until ($ready) {\r\n    $ready = poll();\r\n}\r\n",
            "do {\r\n    $n--;\r\n} while ($n > 0);\r\ndo {\r\n    $m++;\r\n} until ($m > 9);\r\n"
            "do $config_file;\r\n",
            "my $text = <<EOT;\r\nif (this is not code) {\r\nEOT\r\nmy @list = split(/,/, "
            "$csv);\r\n"
            "eval { risky(); 1 } or die \"failed: $@\";\r\n",
            "=head2 notes\r\n\r\nPOD text { with braces }\r\n\r\n=cut\r\n"
            "/^start/ and $state = 1;\r\nmy $out = `ls -l`;\r\n",
            "redo if $again;\r\ngoto &fallback if $fallback;\r\n",
        },
        lines, "return $total;\r\n");
}

}  // namespace tarnwell::bench
