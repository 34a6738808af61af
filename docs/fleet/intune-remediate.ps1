# Intune remediation, remediation script: applies the profile, after a backup
# of every value it changes in the backup folder beside the program.
$folder = Join-Path $env:ProgramData 'Tunewright'
$cli = Join-Path $folder 'tunewright-cli.exe'
$profilePath = Join-Path $folder 'profile.reg'
New-Item -ItemType Directory -Force -Path (Join-Path $folder 'backup') | Out-Null
& $cli --app-folder $folder apply $profilePath
exit $LASTEXITCODE
