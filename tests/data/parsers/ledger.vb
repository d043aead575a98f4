' Posts the day's journal entries to the general ledger.
Public Function PostJournal(ByVal entries As List(Of JournalEntry)) As Integer
    Dim posted As Integer = 0
    Dim connection As SqlConnection = Nothing
    Dim failures As New List(Of String)

    If entries Is Nothing OrElse entries.Count = 0 Then
        Return 0
    End If

    Try
        connection = New SqlConnection(settings.ConnectionString)
        connection.Open()
        For Each entry As JournalEntry In entries
            If entry.Amount = 0D Then Continue For
            Select Case entry.Kind
                Case EntryKind.Debit
                    Post(connection, entry.Account, entry.Amount)
                Case EntryKind.Credit
                    Post(connection, entry.Account, -entry.Amount)
                Case EntryKind.Transfer
                    Try
                        Post(connection, entry.Account, -entry.Amount)
                        Post(connection, entry.Target, entry.Amount)
                    Catch ex As SqlException When ex.Number = 1205
                        failures.Add(entry.Reference)
                        Exit Try
                    End Try
                Case Else
                    Throw New InvalidOperationException("unknown entry " & entry.Reference)
            End Select
            posted += 1
        Next
    Catch ex As SqlException
        Log.Error("posting stopped", ex)
        Return -1
    Catch ex As InvalidOperationException
        Log.Warn(ex.Message)
    Finally
        If connection IsNot Nothing Then connection.Dispose()
    End Try

    Dim retries As Integer = 0
    While failures.Count > 0 AndAlso retries < 3
        retries += 1
        Dim reference As String = failures(0)
        failures.RemoveAt(0)
        If Not Repost(reference) Then
            failures.Add(reference)
        End If
    End While

    Do
        Dim batch = NextBatch()
        If batch Is Nothing Then Exit Do
        Archive(batch)
    Loop Until archiveQueue.IsEmpty

    Return posted
End Function
