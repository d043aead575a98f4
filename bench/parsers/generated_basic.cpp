#include "generated_basic.h"

#include <span>
#include <string_view>

namespace tarnwell::bench {

namespace {

constexpr std::string_view vb_blocks[] = {
    "total = total + Values(i) ' running sum _\r\n    carried on\r\n",
    "If count > 10 Then\r\n    count = 0\r\nElseIf count < 0 Then\r\n    count = 1\r\nElse\r\n"
    "    count = count + 1\r\nEnd If\r\n",
    "If ready Then Call Run(1, \"go\") Else Call Wait: ticks = ticks + 1\r\n",
    "For i = 1 To UBound(items)\r\n    If items(i) = key Then Exit For\r\nNext i\r\n",
    "Select Case mode\r\nCase 1, 2\r\n    Draw\r\nCase Else\r\n    Clear\r\nEnd Select\r\n",
    "Do While queue.Count > 0\r\n    queue.Remove 1\r\nLoop\r\n"
    "Do Until done\r\n    done = Poll()\r\nLoop\r\n",
    "While n > 0\r\n    n = n - 1\r\nWend\r\nDo\r\n    n = n + 2\r\nLoop Until n > 9\r\n",
    "#If DEBUG Then\r\nDebug.Print \"trace\"\r\n#End If\r\nRetry:\r\n"
    "If attempts < 3 Then GoTo Retry\r\nIf failed Then Exit Sub\r\n",
};

constexpr std::string_view vbnet_blocks[] = {
    "Dim names As List(Of String) = New List(Of String)\r\n",
    "Try\r\n    Open(path)\r\nCatch ex As IOException\r\n    Log(ex)\r\n    Exit Try\r\n"
    "Catch ex As Exception\r\n    Throw\r\nFinally\r\n    Close()\r\nEnd Try\r\n",
    "While reader.Read()\r\n    count += 1\r\nEnd While\r\n",
    "If count > 10 Then\r\n    Return count\r\nElse\r\n    count = 0\r\nEnd If\r\n",
    "For Each name In names\r\n    If name = \"\" Then Continue For\r\nNext\r\n",
    "Select Case kind\r\nCase 1\r\n    Exit Select\r\nCase Else\r\n    Return -1\r\n"
    "End Select\r\n",
};

constexpr std::string_view basic_blocks[] = {
    "10 PRINT \"COUNT\"; N: N = N + 1\r\n",
    "IF N > 10 THEN GOTO 10 ELSE PRINT N\r\n",
    "FOR I = 1 TO 10: S = S + A(I): NEXT I\r\n",
    "WHILE X > 0: X = X - 1: WEND\r\n",
    "DO\r\n    INPUT #1, A$\r\nLOOP UNTIL EOF(1)\r\n",
    "SELECT CASE K\r\nCASE 1\r\n    RETURN\r\nCASE ELSE\r\n    EXIT\r\nEND SELECT\r\n",
};

constexpr std::string_view foxpro_blocks[] = {
    "lnTotal = lnTotal + lnValue && running sum\r\n",
    "* a comment that goes on ;\r\n  over two lines\r\n",
    "IF lnCount > 10\r\n    lnCount = 0\r\nELSE\r\n    lnCount = lnCount + 1\r\nENDIF\r\n",
    "DO WHILE !EOF()\r\n    SKIP\r\n    IF deleted()\r\n        LOOP\r\n    ENDIF\r\nENDDO\r\n",
    "DO CASE\r\nCASE lnMode = 1\r\n    DO Draw WITH 1, \"x\"\r\nOTHERWISE\r\n    RETURN .F.\r\n"
    "ENDCASE\r\n",
    "SCAN FOR active\r\n    REPLACE total WITH total + 1\r\n    IF total > 99\r\n        EXIT\r\n"
    "    ENDIF\r\nENDSCAN\r\n",
    "FOR i = 1 TO ALEN(laItems)\r\n    ? laItems[i]\r\nENDFOR\r\n",
    "lcText = \"it\"\"s\" + ;\r\n    'more'\r\n",
};

constexpr std::string_view pb_blocks[] = {
    "ll_total = ll_total + f_value(ll_row, &\r\n    'col') // running sum\r\n",
    "IF ll_count > 10 THEN\r\n    ll_count = 0\r\nELSEIF ll_count < 0 THEN\r\n"
    "    ll_count = 1\r\nELSE\r\n    ll_count++\r\nEND IF\r\n",
    "IF lb_ready THEN Run(1) ELSE Wait(/* ms */ 10)\r\n",
    "FOR ll_i = 1 TO UpperBound(ls_items[]) STEP 1\r\n"
    "    IF ls_items[ll_i] = ls_key THEN EXIT\r\n    IF ll_i = 3 THEN CONTINUE\r\nNEXT\r\n",
    "CHOOSE CASE li_mode\r\nCASE 1, 2\r\n    dw_1.Retrieve()\r\nCASE ELSE\r\n"
    "    RETURN -1\r\nEND CHOOSE\r\n",
    "DO WHILE ll_row > 0\r\n    ll_row --\r\nLOOP\r\nDO\r\n    ll_row += 2\r\n"
    "LOOP UNTIL ll_row > 9\r\n",
    "SELECT name INTO :ls_name\r\n    FROM employee\r\n    WHERE id = :ll_id;\r\n",
    "TRY\r\n    CALL super::ue_save\r\nCATCH (RuntimeError e)\r\n    POST Event ue_error(e)\r\n"
    "END TRY\r\nretry:\r\nIF li_tries < 3 THEN GOTO retry\r\n",
};

// Blocks repeated in turn until the text has `lines` lines, then the closing line.
std::string repeat_blocks(std::span<const std::string_view> blocks, int lines,
                          std::string_view last) {
    std::string text;
    int written = 0;
    for (std::size_t i = 0; written < lines; ++i) {
        const std::string_view block = blocks[i % blocks.size()];
        text += block;
        for (char c : block) written += c == '\n';
    }
    text += last;
    return text;
}

}  // namespace

std::string generated_vb_function(int lines) {
    return repeat_blocks(vb_blocks, lines, "End Sub\r\n");
}

std::string generated_vbnet_function(int lines) {
    return repeat_blocks(vbnet_blocks, lines, "Return total\r\n");
}

std::string generated_basic_program(int lines) {
    return repeat_blocks(basic_blocks, lines, "END\r\n");
}

std::string generated_foxpro_function(int lines) {
    return repeat_blocks(foxpro_blocks, lines, "RETURN lnTotal\r\n");
}

std::string generated_powerbuilder_script(int lines) {
    return repeat_blocks(pb_blocks, lines, "RETURN ll_total\r\n");
}

}  // namespace tarnwell::bench
