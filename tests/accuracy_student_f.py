"""Rows of the accuracy suite (see accuracy_harness.py)."""
ROWS = []
