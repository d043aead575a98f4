function Copy-Logs {
    param([string]$Source, [int]$Days = 7)
    foreach ($file in Get-ChildItem $Source) {
        if ($file.LastWriteTime -lt (Get-Date).AddDays(-$Days)) {
            continue
        } elseif ($file.Length -eq 0) {
            Write-Warning "empty"
        }
        try {
            Copy-Item $file.FullName -Destination "C:\backup"
        } catch {
            throw "copy failed"
        }
    }
}
