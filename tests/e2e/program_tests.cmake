# The program's flows under Wine, through the real passbook.exe and zhsj.edb.

# Takes the place of the browser: the URL test points the prefix's http
# handler at it and reads what it was given.
add_executable(e2e_shell_logger WIN32 shell_logger.cpp)
target_link_libraries(e2e_shell_logger PRIVATE shell32)

passbook_e2e_test(passbook_signin test_passbook_signin.py)
passbook_e2e_test(passbook_accounts test_passbook_accounts.py)
