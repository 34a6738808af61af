# Intune remediation, detection script: exit 0 when the machine holds the
# profile's values, 1 when it does not (Intune then runs intune-remediate.ps1).
# Run it with the logged-on credentials when the profile holds values of
# HKEY_CURRENT_USER; as SYSTEM the current user's hive is SYSTEM's.
$folder = Join-Path $env:ProgramData 'Tunewright'
$cli = Join-Path $folder 'tunewright-cli.exe'
$profilePath = Join-Path $folder 'profile.reg'
& $cli --app-folder $folder apply --check $profilePath
switch ($LASTEXITCODE) {
    0 { exit 0 }
    3 { Write-Output 'Tunewright profile: values differ'; exit 1 }
    default { Write-Output "Tunewright profile: check failed ($LASTEXITCODE)"; exit 1 }
}
