' Builds the nightly order report from the files in the orders folder.
Option Explicit

Const ForReading = 1
Const ForWriting = 2

Dim fso, folder, file, stream, report
Dim line, fields, lineNumber
Dim totalOrders, totalAmount, rejected, customer

Set fso = CreateObject("Scripting.FileSystemObject")
If WScript.Arguments.Count < 1 Then
    WScript.Echo "usage: order_report.vbs <folder>"
    WScript.Quit 2
End If

If Not fso.FolderExists(WScript.Arguments(0)) Then
    WScript.Echo "No such folder: " & WScript.Arguments(0)
    WScript.Quit 1
End If

Set folder = fso.GetFolder(WScript.Arguments(0))
Set report = fso.CreateTextFile(folder.Path & "\report.txt", True)
totalOrders = 0
totalAmount = 0
rejected = 0

For Each file In folder.Files
    If LCase(fso.GetExtensionName(file.Name)) <> "csv" Then
        ' Only the order exports are read; anything else is left alone.
    Else
        Set stream = fso.OpenTextFile(file.Path, ForReading)
        lineNumber = 0
        Do Until stream.AtEndOfStream
            line = Trim(stream.ReadLine)
            lineNumber = lineNumber + 1
            If Len(line) = 0 Then
                ' blank lines separate batches
            ElseIf Left(line, 1) = "#" Then
                ' a comment line of the export
            Else
                fields = Split(line, ";")
                Select Case UBound(fields)
                Case 2
                    customer = fields(0)
                    totalAmount = totalAmount + CDbl(fields(2))
                    totalOrders = totalOrders + 1
                Case 3
                    If fields(3) = "VOID" Then rejected = rejected + 1 Else totalOrders = totalOrders + 1
                Case Else
                    report.WriteLine "bad line " & lineNumber & " in " & file.Name
                    rejected = rejected + 1
                End Select
            End If
        Loop
        stream.Close
    End If
Next

Dim attempt, written
attempt = 0
written = False
Do
    attempt = attempt + 1
    On Error Resume Next
    report.WriteLine "orders:   " & totalOrders
    report.WriteLine "amount:   " & FormatNumber(totalAmount, 2)
    report.WriteLine "rejected: " & rejected
    If Err.Number = 0 Then
        written = True
        Exit Do
    End If
    Err.Clear
    On Error GoTo 0
Loop While attempt < 3

report.Close
If Not written Then
    WScript.Echo "The report could not be written."
    WScript.Quit 3
End If

Dim answer
answer = MsgBox("Open the report now?", vbYesNo)
While answer = vbYes
    CreateObject("WScript.Shell").Run "notepad.exe " & folder.Path & "\report.txt"
    answer = vbNo
Wend
WScript.Echo "Done: " & totalOrders & " orders."
